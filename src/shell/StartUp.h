#pragma once
// The program's start and end as a whole, apart from any window:
//
// Start: the operating system's name; the settings file in the user's configuration folder
// (folder and file created, with the default keys, when missing; an existing file is never
// rewritten with defaults); the whole file read; the splash; the job reset; the job file named
// on the command line opened.
//
// End: the save question when the job changed (a "Yes" whose save does not happen keeps the
// program open); every window closed, each storing its position; the default view record
// written to "LocalGraphics" and "FahnenProp".
//
// A settings file that cannot be made, read or written never stops either flow: the problem is
// told once, a run without a readable file goes on with the default settings in memory and
// writes no settings file, and a read-only file is read but left as it is.
#include <optional>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "platform/SystemInfo.h"
#include "shared/AppPaths.h"
#include "shared/JobState.h"
#include "shell/JobFileCommands.h"
#include "shell/MainWindowView.h"
#include "shell/SettingsProblems.h"

namespace kal {

// What the two flows need of the main window beyond the job reset.
class StartUpHost : public MainWindowView {
  public:
    // Shows the splash modally; returns when it has closed.
    virtual void showSplash() = 0;
    // Unloads every window but the main window; each stores its position as it goes.
    virtual void closeAllWindows() = 0;
};

// The job file named on the command line: the first non-empty operand, without a surrounding pair
// of double quotes (removed only when both are there). `arguments` are the command line's operands
// (parseCommandLine has taken the options out), so a name starting with "-" is a job file too.
std::optional<std::string> commandLineJobFile(const std::vector<std::string>& arguments);

// The question asked before a changed job is given up.
std::string jobChangedQuestion(const std::string& currentJobFile);

class StartUp {
  public:
    StartUp(JobState& job, StartUpHost& host, JobFileCommands& jobFiles, platform::Prompter& prompter,
            const platform::SystemInfo& system, EnvironmentLookup environment = {});

    // The start-up flow (MDIForm_Load). `arguments` as for commandLineJobFile.
    void startProgram(const std::vector<std::string>& arguments);

    // The shut-down flow (MDIForm_Unload). False when the program is to stay open: the user
    // wanted the changed job saved and it was not.
    bool shutDown();

    // False when the settings file could not be made or read, or is read-only: then nothing of
    // the program writes to it.
    bool settingsWritable() const { return writable_; }
    // A settings problem met later in the run (a window position that cannot be stored).
    void reportSettingsProblem(const std::string& why);

  private:
    void settingsFile();
    void readSettings();
    void writeDefaultView();

    JobState& job_;
    StartUpHost& host_;
    JobFileCommands& jobFiles_;
    platform::Prompter& prompter_;
    const platform::SystemInfo& system_;
    EnvironmentLookup environment_;
    SettingsProblems problems_;
    bool writable_ = false;
    std::vector<std::string> startUpProblems_;
};

}  // namespace kal
