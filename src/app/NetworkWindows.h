#pragma once
// The network window in the program: the (hidden and disabled) menu entry "Bündel" shows it as an
// MDI child of the main window, one at a time. Its runs get the program's message boxes, event
// pump and clipboard, the data folder for the result files, and the point load of the input
// dialog (its overwrite question, the job reset with the graphics windows closed, the settings
// file). While a run goes on, the commands that change the job wait, and so do the input
// dialog's OK and Apply and the calculation window.
#include <QMdiSubWindow>
#include <QPointer>
#include <functional>

#include "app/CalculationWindows.h"
#include "app/InputWindows.h"
#include "app/LongWork.h"
#include "network/ui/FormBuendel.h"
#include "platform/qt/QtPlatform.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

class NetworkWindows {
  public:
    // `input` and `calculation` may be null; `settingsWritable` tells whether the load's settings
    // may be written this run.
    NetworkWindows(JobState& job, JobEvents& events, FormMain& main, platform::Prompter& prompter,
                   InputWindows* input, CalculationWindows* calculation,
                   std::function<bool()> settingsWritable = {});
    ~NetworkWindows();
    NetworkWindows(const NetworkWindows&) = delete;
    NetworkWindows& operator=(const NetworkWindows&) = delete;

    // (MenüBündel_Click) Shows the window; a second call brings it forward.
    FormBuendel& open();
    // The open window; null when it is closed.
    FormBuendel* window() const { return form_; }

  private:
    NetworkServices runServices();
    void runRunning(bool running);

    JobState& job_;
    JobEvents& events_;
    FormMain& main_;
    platform::Prompter& prompter_;
    InputWindows* input_;
    CalculationWindows* calculation_;
    std::function<bool()> settingsWritable_;
    platform::QtEventPump eventPump_;
    platform::QtClipboard clipboard_;
    QPointer<QMdiSubWindow> sub_;
    QPointer<FormBuendel> form_;
    LongWorkLock lock_;
};

}  // namespace kal
