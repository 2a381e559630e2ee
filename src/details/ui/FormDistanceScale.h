#pragma once
// The distance and scale analysis window (caption "Distance Scale"): the two modes (with the
// transformed MCS, "with calibration DATA", or with the MCS as loaded), the result table
// `TabelleScale` and the buttons for the trumpet graph and the pair export. The analysis itself is
// analyseDistances (core); the window runs it on activation when the job changed since the last
// run, and on each click of a mode. A run shows progress and can be stopped; a stopped run leaves
// the previous table and pairs, and the mode of that table.
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>

#include "details/DistanceAnalysis.h"
#include "details/DistanceTable.h"
#include "details/ExportServices.h"
#include "platform/EventPump.h"
#include "platform/FileDialogs.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"
#include "shared/ui/DataGrid.h"

class QPushButton;
class QRadioButton;

namespace kal {

class GridColumnWidths;

struct DistanceWindowServices {
    platform::Prompter* prompter = nullptr;
    platform::FileDialogs* fileDialogs = nullptr;
    platform::EventPump* events = nullptr;
    platform::Progress* progress = nullptr;
    std::chrono::milliseconds interval{40};  // events let through at least this often
    // Long work begins (true) and ends (false): the main window holds back the job commands.
    std::function<void(bool running)> setLongWorkRunning;
    // A new analysis stands (TrumpetPairs).
    std::function<void(std::shared_ptr<const DistanceAnalysis>)> analysed;
};

class FormDistanceScale : public QWidget {
    Q_OBJECT
  public:
    FormDistanceScale(const JobState& job, DistanceWindowServices services, QWidget* parent = nullptr);
    ~FormDistanceScale() override;

    // The window became the active one (Form_Activate): without a calculated transformation the
    // mode becomes "without" and `OptionWithCal` is disabled for the rest of the window's life;
    // then the analysis runs when the job or the mode changed since the last run.
    void activate();
    // Runs the analysis in the current mode (Distance_Calculation); true when a new table stands,
    // false when it was stopped or refused (the previous table stays).
    bool distanceCalculation();
    // The job's points or results changed: the next activation runs the analysis again.
    void markJobChanged() { needsRun_ = true; }
    // The units changed: the table is rewritten in the new ones.
    void refreshTexts();
    // The pair export (BtnSaveTrumpetData_Click).
    ExportOutcome saveTrumpetData();

    bool withCalibration() const { return withCalibration_; }
    bool running() const { return running_; }
    const std::shared_ptr<const DistanceAnalysis>& analysis() const { return analysis_; }

    // ---- Controls (object names as the design names them) ----
    QRadioButton* withCalibrationOption() const { return optionWithCal_; }
    QRadioButton* withoutCalibrationOption() const { return optionWithoutCal_; }
    QPushButton* trumpetGraphButton() const { return btnTrumpet_; }
    QPushButton* saveTrumpetDataButton() const { return btnSave_; }
    DataGrid* table() const { return grid_; }

  signals:
    void trumpetGraphRequested();
    void closed();

  protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void onModeClicked();
    // Sets the mode and its option button without running the analysis.
    void showMode(bool withCalibration);
    void layoutGrid();
    void showBusy(bool busy);
    // A close asked for while work ran happens once it has ended.
    void closeWhenAsked();

    const JobState& job_;
    DistanceWindowServices services_;
    DistanceTable source_;
    std::shared_ptr<const DistanceAnalysis> analysis_;
    bool withCalibration_ = true;
    bool needsRun_ = true;
    bool running_ = false;
    bool closedSent_ = false;
    bool closeAfterRun_ = false;

    QRadioButton* optionWithCal_ = nullptr;
    QRadioButton* optionWithoutCal_ = nullptr;
    QPushButton* btnTrumpet_ = nullptr;
    QPushButton* btnSave_ = nullptr;
    DataGrid* grid_ = nullptr;
    GridColumnWidths* widths_ = nullptr;  // owned by the grid
};

}  // namespace kal
