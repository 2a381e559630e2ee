#pragma once
// The File menu's job commands: New, Open, Save, Save as, the four recent files and the question
// before a changed job is given up; and the two file operations under them, writing the job file
// and opening one.
//
// Data safety: a job is replaced only by a whole, valid file (a missing, foreign or damaged file
// leaves the current job and its name as they were); a save is atomic and a failed one leaves the
// old file, the job's name, JobDirty and the recent files as they were; when the user answers Yes
// to saving a changed job and the save does not happen, the job is not given up.
#include <string>
#include <string_view>

#include "platform/FileDialogs.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"
#include "shell/JobFileCommands.h"
#include "shell/JobReset.h"
#include "shell/SettingsWriter.h"

namespace kal {

// What the commands need of the main window; the window implements it, tests record it.
class JobWindow {
  public:
    virtual ~JobWindow() = default;
    virtual void closeAllChildForms() = 0;  // every child window closes
    virtual void resetJob() = 0;            // the job reset of a new job (names an untitled job)
    virtual void unitsChanged() = 0;        // unit factors and formats follow the job's unit names
    virtual void jobLoaded() = 0;           // show the opened job: main sheet, saved-view list, ...
    virtual void refreshState() = 0;        // caption, menus, toolbars and recent-file entries
    virtual void setBusy(bool busy) = 0;    // hourglass pointer on the main window
};

enum class SaveOutcome {
    Saved,     // the user said Yes and the job was written
    Declined,  // the user said No: the job may be given up
    NotSaved,  // the user said Yes but no file was written: the caller must stop
};

class JobCommands : public JobFileCommands {
  public:
    JobCommands(JobState& job, platform::Prompter& prompter, platform::FileDialogs& dialogs,
                JobWindow& window, SettingsWriter settings = {})
        : job_(job),
          prompter_(prompter),
          dialogs_(dialogs),
          window_(window),
          settings_(std::move(settings)) {}

    // ---- Menu commands ----
    // File > New (MenuFileNew_Click).
    void newJob();
    // File > Open (MenuFileOpen_Click).
    void openJobChosen();
    bool saveJobCommand();    // true when the job was written (MenuFileSave_Click)
    bool saveJobAsCommand();  // true when the job was written (MenuFileSaveAs_Click)
    // A recent-file entry, by slot 1..4; an empty slot does nothing (its entry is disabled).
    void openRecentFile(int slot);
    // The shut-down's question: true when the program may close (Exit and the close box). A
    // changed job is offered for saving; a Yes whose save did not happen keeps the program open.
    bool queryClose();

    // Asks whether to save the changed job and saves it on Yes (JobChanged).
    SaveOutcome askToSaveChangedJob();

    // ---- The job file ----
    // Writes the job to `path` atomically; then the recent files, JobDirty false, a refresh (SaveFileAs).
    // False (after a message saying why) when nothing was written.
    bool saveJobAt(const std::string& path);
    // Opens the job file at `path`: checks and reads the whole file first, then resets the job and
    // takes the file's items; the job's name becomes `path` (OpenFile). False (after a message) when the job
    // was left as it was.
    bool openJobAt(const std::string& path);
    // openJobAt on bytes already read from `path`.
    bool openJobBytes(std::string_view bytes, const std::string& path);

    // Puts the job's name at the top of the recent files and writes them to the INI file (LogikLastFileEXIT).
    void pushRecentFile();

    // What start-up and shut-down call: the command line's job, and Save on the way out.
    void openJobFile(const std::string& path) override { openJobAt(path); }
    bool saveJob() override { return saveJobCommand(); }

    // Texts of the File menu's dialogs.
    static constexpr const char* kJobFilter = "tfo Dateien (*.tfo)|*.tfo|Alle Dateien (*.*)|*.*|";
    static constexpr const char* kSaveAsFilter = "tfo Datei (*.tfo)|*.tfo";

  private:
    bool refuseWithoutData();
    void say(const std::string& text);

    JobState& job_;
    platform::Prompter& prompter_;
    platform::FileDialogs& dialogs_;
    JobWindow& window_;
    SettingsWriter settings_;
};

// Messages of the job commands, letter for letter.
namespace job_messages {
inline constexpr const char* kNoData = "There is still no data within Kalvoreth, so you cant save this job!";
inline constexpr const char* kMissing = "File does not exist; maybe check the drive!?";
// A folder where a job file was expected (a folder in the recent files, a mistyped command line).
std::string folderNotJob(const std::string& path);
inline constexpr const char* kSavedViewsMissing = "Sorry, Saved Views can not be loaded";
inline constexpr const char* kDamaged = "The job file is damaged and cannot be loaded.";
std::string notAJob();
std::string newerFile(const std::string& fileVersion, const std::string& programVersion);
std::string olderFile(const std::string& fileVersion, const std::string& programVersion);
}  // namespace job_messages

}  // namespace kal
