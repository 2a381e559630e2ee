#include "shell/JobCommands.h"

#include <cctype>

#include "shell/CommonDialog.h"
#include "shell/StartUp.h"

namespace kal {

namespace job_messages {

std::string folderNotJob(const std::string& path) {
    return path + "\r\n\r\nis a folder, not a job file. Please choose a job file (*.tfo) inside it.";
}

std::string notAJob() {
    return "This is not a Kalvoreth File.\r\n\r\nClick  YES  to try loading this file and \r\n\r\nClick  NO  "
           "to choose "
           "another file";
}

static std::string versionText(const char* first, const std::string& file, const std::string& program,
                               const char* last) {
    return std::string(first) + "\r\n\r\nFile Version is " + file + "\r\nSoftware Version is " + program +
           "\r\n" + last;
}

std::string newerFile(const std::string& file, const std::string& program) {
    return versionText("File Version is higher than your Softwareversion!", file, program,
                       "This can cause trouble with your data!");
}

std::string olderFile(const std::string& file, const std::string& program) {
    return versionText("File Version is lower than your Softwareversion!", file, program,
                       "Kalvoreth will convert Job to actual Softwareversion");
}

}  // namespace job_messages

namespace {

bool isUntitled(const std::string& name) {
    std::string upper;
    for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper == "..\\DEFAULT.TFO";
}

}  // namespace

void JobCommands::say(const std::string& text) { prompter_.message(text, platform::Buttons::Ok); }

bool JobCommands::refuseWithoutData() {
    if (job_.DataLoaded) return false;
    say(job_messages::kNoData);
    return true;
}

SaveOutcome JobCommands::askToSaveChangedJob() {
    auto answer = prompter_.message(jobChangedQuestion(job_.CurrentJobFile), platform::Buttons::YesNo,
                                    platform::kProgramName, platform::Icon::Question);
    if (answer != platform::Answer::Yes) return SaveOutcome::Declined;
    bool saved = job_.CurrentJobFile == kUntitledJobFile
                     ? saveJobAsCommand()
                     : !refuseWithoutData() && saveJobAt(job_.CurrentJobFile);
    return saved ? SaveOutcome::Saved : SaveOutcome::NotSaved;
}

void JobCommands::newJob() {
    if (job_.JobDirty && askToSaveChangedJob() == SaveOutcome::NotSaved) return;
    std::string name = showFileDialog(dialogs_, job_, settings_, kDialogSave, "New File ", kJobFilter,
                                      job_.LastDialogFolder, "tfo");
    if (name.empty()) return;
    job_.CurrentJobFile = name;
    window_.closeAllChildForms();
    window_.resetJob();
    // Counts are 0 now: transformed points, offset vectors and use flags sized for no points.
    job_.sizeDerivedArrays();
    job_.DataLoaded = false;
    job_.TrafoCalculated = false;
    job_.JobDirty = false;
    window_.refreshState();
}

void JobCommands::openJobChosen() {
    if (job_.JobDirty && askToSaveChangedJob() == SaveOutcome::NotSaved) return;
    std::string name;
    {
        window_.setBusy(true);
        name = showFileDialog(dialogs_, job_, settings_, kDialogOpen, "Open File ", kJobFilter,
                              job_.LastDialogFolder, "");
        window_.setBusy(false);
    }
    if (name.empty()) return;
    openJobAt(name);
}

bool JobCommands::saveJobCommand() {
    if (refuseWithoutData()) return false;
    if (job_.CurrentJobFile == kUntitledJobFile) return saveJobAsCommand();
    return saveJobAt(job_.CurrentJobFile);
}

bool JobCommands::saveJobAsCommand() {
    if (refuseWithoutData()) return false;
    std::string name = showFileDialog(dialogs_, job_, settings_, kDialogSave, "File save as", kSaveAsFilter,
                                      job_.LastDialogFolder, "tfo");
    if (name.empty()) return false;
    std::string previous = job_.CurrentJobFile;
    job_.CurrentJobFile = name;
    if (saveJobAt(name)) return true;
    job_.CurrentJobFile = previous;  // nothing was written there: the job keeps its old name
    window_.refreshState();
    return false;
}

void JobCommands::openRecentFile(int slot) {
    if (slot < 1 || slot > 4 || job_.RecentFiles[static_cast<std::size_t>(slot)].empty()) return;
    // The entry the user clicked, taken before a save reorders the list.
    const std::string path = job_.RecentFiles[static_cast<std::size_t>(slot)];
    if (job_.JobDirty && askToSaveChangedJob() == SaveOutcome::NotSaved) return;
    openJobAt(path);
}

bool JobCommands::queryClose() { return !job_.JobDirty || askToSaveChangedJob() != SaveOutcome::NotSaved; }

void JobCommands::pushRecentFile() {
    const std::string& name = job_.CurrentJobFile;
    if (name.empty() || isUntitled(name)) return;
    auto& slots = job_.RecentFiles;
    int found = 0;
    for (int i = 1; i <= 4; ++i)
        if (slots[static_cast<std::size_t>(i)] == name) {
            found = i;
            break;
        }
    if (found == 1) return;
    for (int i = found == 0 ? 4 : found; i >= 2; --i)
        slots[static_cast<std::size_t>(i)] = slots[static_cast<std::size_t>(i - 1)];
    slots[1] = name;
    window_.refreshState();
    if (!settings_) return;
    try {
        SettingsKeys keys;
        for (int i = 1; i <= 4; ++i)
            keys.emplace_back("LastFile" + std::to_string(i), slots[static_cast<std::size_t>(i)]);
        settings_("Files", keys);
    } catch (const std::exception& e) {
        say(std::string("The list of recent files could not be written to the settings file.\r\n\r\n") +
            e.what());
    }
}

}  // namespace kal
