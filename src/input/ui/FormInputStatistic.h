#pragma once
// The input statistics window ("Input Statistic"): a small child window of the main window that
// shows what the last load left in the job (counts, file names, the robot angles' spread). Its
// contents come from the core (inputStatistic); the window copies them into its boxes, setting
// only what changed. Where it stands is its owner's business: the owner restores the position
// once, when it creates the window, so a window the user moved stays put across loads.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "input/InputStatistic.h"
#include "shared/JobState.h"

namespace kal {

class FormInputStatistic : public QWidget {
    Q_OBJECT
  public:
    explicit FormInputStatistic(const JobState& job, QWidget* parent = nullptr);

    // Closes the window, and its frame when it stands in the main window (the buttons, Esc).
    void closeWindow();
    // Fills every box and caption from the job as it stands (FORMfüllen).
    void fill();
    const InputStatisticState& shown() const { return shown_; }

    // ---- Controls (object names as the design names them) ----
    // Frames Label1..Label7 and their boxes Text1..Text7, n = 1..7.
    QGroupBox* frame(int n) const { return frames_.at(static_cast<std::size_t>(n - 1)); }
    QLineEdit* textBox(int n) const { return texts_.at(static_cast<std::size_t>(n - 1)); }
    QGroupBox* rangeFrame() const { return rangeFrame_; }  // FrameABCRange
    // TextRangeA, TextRangeB, TextRangeC for i = 0, 1, 2.
    QLineEdit* rangeBox(int i) const { return ranges_.at(static_cast<std::size_t>(i)); }
    QLabel* rangeLabel(int i) const { return rangeLabels_.at(static_cast<std::size_t>(i)); }
    QPushButton* closeButton() const { return close_; }            // BtnOK, "&Close"
    QPushButton* inputFilesButton() const { return inputFiles_; }  // BtnCancel, "&to Input Files"

  signals:
    // The window is closing (Form_Unload): its position is to be stored and the menu entry loses
    // its check mark.
    void closed();
    // "&to Input Files": the window has closed and the input dialog is to be shown.
    void inputFilesRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();

    const JobState& job_;
    InputStatisticState shown_;
    bool filled_ = false;
    bool closing_ = false;
    std::array<QGroupBox*, 7> frames_{};
    std::array<QLineEdit*, 7> texts_{};
    QGroupBox* rangeFrame_ = nullptr;
    std::array<QLineEdit*, 3> ranges_{};
    std::array<QLabel*, 3> rangeLabels_{};
    QPushButton* close_ = nullptr;
    QPushButton* inputFiles_ = nullptr;
};

}  // namespace kal
