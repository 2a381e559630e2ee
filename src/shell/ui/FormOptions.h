#pragma once
// The options window "Options": what the result display copies to the clipboard after each
// calculation, whether the main sheet's copy carries its headings, the Monte Carlo noise and run
// count, and the gimbal-lock border. A modal dialog of its own. Its rules are in
// shell/OptionsSettings: OK checks every field first and applies all or nothing; a refused field
// is named in a message and the dialog stays open on it.
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <array>
#include <functional>
#include <vector>

#include "platform/Prompter.h"
#include "shared/IniFile.h"
#include "shared/JobState.h"
#include "shell/OptionsSettings.h"

namespace kal {

class WindowPositions;

class FormOptions : public QDialog {
    Q_OBJECT
  public:
    // `writeSettings` stores the keys OK returns (one write); `positions` may be null.
    FormOptions(JobState& job, platform::Prompter& prompter,
                std::function<void(const std::vector<IniEntry>&)> writeSettings,
                const WindowPositions* positions = nullptr, QWidget* parent = nullptr);

    // The controls' contents now.
    OptionsFields fields() const;
    // Reads the controls into the job and stores the keys; false, with the refused box focused and
    // its message shown, when a field does not pass (EinstellungenÜbernehmen).
    bool applySettings();

    QTabWidget* tabs() const { return tabs_; }                                                      // SSTab1
    QRadioButton* modeButton(int mode) const { return modes_.at(static_cast<std::size_t>(mode)); }  // 1..5
    QCheckBox* invertedBox() const { return inverted_; }          // CheckInverted
    QCheckBox* adTcpBox() const { return adTcp_; }                // CheckAdTCP
    QCheckBox* tableHeadingBox() const { return tableHeading_; }  // CheckTabelHeading
    QLineEdit* sigmaBox(int axis) const {
        return sigma_.at(static_cast<std::size_t>(axis));
    }                                                      // 0..2: TextSx..
    QLineEdit* runsBox() const { return runs_; }           // TextMonteCarloRuns
    QLineEdit* gimbalLockBox() const { return gimbal_; }   // TextGimbalLock
    QPushButton* okButton() const { return ok_; }          // BtnOK
    QPushButton* cancelButton() const { return cancel_; }  // BtnCancel

  public slots:
    void done(int result) override;

  private:
    void build();
    void showFields(const OptionsFields& f);
    void showModifierStates();
    QLineEdit* boxOf(OptionsField field) const;

    JobState& job_;
    platform::Prompter& prompter_;
    std::function<void(const std::vector<IniEntry>&)> writeSettings_;
    const WindowPositions* positions_;
    QTabWidget* tabs_ = nullptr;
    std::array<QRadioButton*, 6> modes_{};
    QCheckBox *inverted_ = nullptr, *adTcp_ = nullptr, *tableHeading_ = nullptr;
    std::array<QLineEdit*, 3> sigma_{};
    QLineEdit *runs_ = nullptr, *gimbal_ = nullptr;
    QPushButton *ok_ = nullptr, *cancel_ = nullptr;
};

}  // namespace kal
