#pragma once
// The calculation window in the program: the "&Calculation" command of the main window (menu entry
// and toolbar button 3) switches it, after the check of the identical points; other commands that
// need the window (the clipboard quick transformation) open it with ensureOpen. The window is an
// MDI child of the main window with the main window's progress and paraboloid stop windows.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>
#include <string>

#include "calculation/ui/FormTrafoBerechnung.h"
#include "platform/qt/QtPlatform.h"
#include "results/ui/CalculationResultDisplay.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class CalculationWindows {
  public:
    // `settingsWritable` tells whether settings may be written this run (the column widths).
    CalculationWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                       std::function<bool()> settingsWritable = {});
    ~CalculationWindows();
    CalculationWindows(const CalculationWindows&) = delete;
    CalculationWindows& operator=(const CalculationWindows&) = delete;

    // The window, opened first when it is not (no point check: the caller has made its own).
    FormTrafoBerechnung& ensureOpen();
    // The open window; null when it is closed.
    FormTrafoBerechnung* window() const { return form_; }
    // The open window's result display; null when the window is closed.
    CalculationResultDisplay* resultDisplay() const { return results_; }
    // The command: open or close after the point check (MenuTransformationCalculation_Click).
    void switchWindow();
    // Closes the open window and opens it again, set up for the job as it now is (after a load).
    void reopen();
    // What the window's "&Details" button runs (set before the window opens).
    void setShowDetails(std::function<void()> showDetails) { showDetails_ = std::move(showDetails); }
    // Told each name that becomes the point table's current cell (Tabelle_SelChange).
    void setPointSelected(std::function<void(const std::string& name)> selected) {
        pointSelected_ = std::move(selected);
    }

  private:
    void close();
    void showOpenState();
    void attachResultDisplay(const platform::Services& services);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    std::function<bool()> settingsWritable_;
    std::function<void()> showDetails_;
    std::function<void(const std::string&)> pointSelected_;
    platform::QtClipboard clipboard_;
    platform::QtEventPump eventPump_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormTrafoBerechnung> form_;
    QPointer<CalculationResultDisplay> results_;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
