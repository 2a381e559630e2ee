#pragma once
// What the main window lends to long work on the job (a point load, a network run): the point
// load's services, and the lock that keeps the commands that change the job, the calculation
// window and its command waiting while the work runs.
#include <QAction>
#include <functional>

#include "app/CalculationWindows.h"
#include "input/PointLoad.h"
#include "platform/EventPump.h"
#include "platform/Prompter.h"
#include "shared/JobEvents.h"
#include "shared/JobState.h"
#include "shell/ui/FormMain.h"

namespace kal {

// A point load into the job of the main window: its progress window, the job reset with the
// graphics windows closed, and the settings file unless `settingsWritable` says no this run.
inline PointLoadServices mainWindowLoadServices(JobState& job, JobEvents& events, FormMain& main,
                                                platform::Prompter& prompter, platform::EventPump& pump,
                                                const std::function<bool()>& settingsWritable) {
    PointLoadServices s;
    s.prompter = &prompter;
    s.events = &pump;
    s.progress = &main.progressWindow();
    s.jobEvents = &events;
    s.resetJob = [&main](JobState&) {
        main.initializeJob();
        main.closeGraphicsWindows();
    };
    if (!settingsWritable || settingsWritable()) s.iniFile = job.IniFilePath;
    return s;
}

// Locks the job for one kind of long work and gives it back afterwards; the calculation command
// gets back the state it had when the work began.
class LongWorkLock {
  public:
    // `calculation` may be null.
    void setRunning(FormMain& main, CalculationWindows* calculation, bool running) {
        main.setLongWorkRunning(running);
        if (QAction* a = main.action(Command::CalculationWindow)) {
            if (running) {
                calculationCommandWasEnabled_ = a->isEnabled();
                a->setEnabled(false);
            } else {
                a->setEnabled(calculationCommandWasEnabled_);
            }
        }
        if (calculation && calculation->window()) calculation->window()->setEnabled(!running);
    }

  private:
    bool calculationCommandWasEnabled_ = false;
};

}  // namespace kal
