#pragma once
// The input-files dialog in the program: File > "&Input Files" and its toolbar button show it as
// an MDI child of the main window (one at a time; a second choice brings it forward). Its loads
// get the main window's progress window, the job reset and the settings file; while a load runs,
// the commands that change the job, the calculation window and its command wait, and while a
// calculation runs, the dialog's OK and Apply wait. A complete load opens the calculation window
// again when it was open, so that it is set up for the new points.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

#include "app/CalculationWindows.h"
#include "app/InputToolWindows.h"
#include "app/LongWork.h"
#include "input/ui/FormInputFiles.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class InputWindows {
  public:
    // `calculation` may be null (no calculation window in this program); `settingsWritable` tells
    // whether the load's settings may be written this run.
    InputWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                 platform::FileDialogs& fileDialogs, CalculationWindows* calculation,
                 std::function<bool()> settingsWritable = {});
    ~InputWindows();
    InputWindows(const InputWindows&) = delete;
    InputWindows& operator=(const InputWindows&) = delete;

    // (MenuFileInputFiles_Click) Shows the dialog, filled from the job.
    FormInputFiles& open();
    // The open dialog; null when it is closed.
    FormInputFiles* window() const { return form_; }
    // The clipboard buttons, the more-MCS import and the statistics after a load; without them
    // those buttons stay disabled. Set before the dialog opens.
    void setInputTools(InputToolWindows* tools) { tools_ = tools; }

  private:
    PointLoadServices loadServices();
    void loadRunning(bool running);
    void loaded(const PointLoadOutcome& outcome);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    platform::FileDialogs& fileDialogs_;
    CalculationWindows* calculation_;
    InputToolWindows* tools_ = nullptr;
    std::function<bool()> settingsWritable_;
    platform::QtEventPump eventPump_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormInputFiles> form_;
    LongWorkLock lock_;
    bool calculationRunning_ = false;
    std::vector<Subscription> subscriptions_;
};

}  // namespace kal
