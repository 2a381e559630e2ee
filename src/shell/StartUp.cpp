#include "shell/StartUp.h"

#include <filesystem>
#include <random>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/FileHelpers.h"
#include "shared/IniSettings.h"
#include "shell/DefaultViewSettings.h"
#include "shell/IniDefaults.h"
#include "shell/JobReset.h"
#include "shell/OsVersionName.h"

namespace kal {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxWarningsShown = 10;

std::string joined(const std::vector<std::string>& parts, const std::string& separator) {
    std::string s;
    for (std::size_t i = 0; i < parts.size(); ++i) s += (i ? separator : std::string()) + parts[i];
    return s;
}

// A file nobody may write to: its owner's write permission is off. (Replacing it through a
// temporary file would succeed and silently undo that choice.)
bool isReadOnly(const std::string& path) {
    std::error_code ec;
    const fs::file_status st = fs::status(path, ec);
    return !ec && fs::is_regular_file(st) && (st.permissions() & fs::perms::owner_write) == fs::perms::none;
}

// A private copy of a read-only settings file, so that reading it, repairs included, leaves
// the file itself as it is. Removed when it goes out of scope.
class ReadCopy {
  public:
    explicit ReadCopy(const std::string& original) {
        std::random_device rd;
        path_ =
            (fs::temp_directory_path() / ("Kalvoreth-settings-" + std::to_string(rd()) + ".ini")).string();
        writeFileAtomically(path_, readFileBytes(original));
    }
    ~ReadCopy() {
        std::error_code ec;
        fs::remove(path_, ec);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

std::optional<std::string> commandLineJobFile(const std::vector<std::string>& arguments) {
    for (const std::string& arg : arguments) {
        std::string path = arg;
        if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
            path = path.substr(1, path.size() - 2);
        if (path.empty()) continue;
        return path;
    }
    return std::nullopt;
}

std::string jobChangedQuestion(const std::string& currentJobFile) {
    return "Changes have been made to the job.\r\n\r\n" + currentJobFile + "\r\n\r\nDo you want to save it?";
}

StartUp::StartUp(JobState& job, StartUpHost& host, JobFileCommands& jobFiles, platform::Prompter& prompter,
                 const platform::SystemInfo& system, EnvironmentLookup environment)
    : job_(job),
      host_(host),
      jobFiles_(jobFiles),
      prompter_(prompter),
      system_(system),
      environment_(std::move(environment)),
      problems_(prompter) {}

void StartUp::startProgram(const std::vector<std::string>& arguments) {
    job_.OsNameString = osVersionName(system_);
    settingsFile();
    if (!startUpProblems_.empty()) problems_.report(joined(startUpProblems_, "\r\n\r\n"));

    host_.showSplash();
    initializeJob(job_, host_);

    if (const auto path = commandLineJobFile(arguments)) {
        job_.CurrentJobFile = *path;
        try {
            jobFiles_.openJobFile(*path);
        } catch (const std::exception& e) {
            prompter_.message("The job file could not be opened:\r\n" + std::string(e.what()),
                              platform::Buttons::Ok, {}, platform::Icon::Exclamation);
        }
    }
}

void StartUp::settingsFile() {
    auto withoutFile = [&](const std::string& why) {
        startUpProblems_.push_back(
            why + "\r\nKalvoreth starts with its default settings and writes no settings file.");
        job_.IniFilePath.clear();
        applyIniDefaults(job_);
        writable_ = false;
    };

    AppPaths paths;
    try {
        paths = environment_ ? appPathsFromEnvironment(environment_) : appPathsFromEnvironment();
    } catch (const std::exception& e) {
        withoutFile(std::string("The settings file has no place: ") + e.what());
        return;
    }
    job_.AppDataFolder = paths.dataFolder;
    job_.IniFilePath = paths.iniFile;

    if (!isRegularFile(paths.iniFile)) {
        try {
            std::error_code ec;
            fs::create_directories(paths.configFolder, ec);
            if (ec) throw FileError(paths.configFolder, 0, "cannot be created: " + ec.message());
            createIniFile(job_);
        } catch (const std::exception& e) {
            withoutFile("The settings file could not be created: " + std::string(e.what()));
            return;
        }
    }

    const bool readOnly = isReadOnly(paths.iniFile);
    std::vector<std::string> warnings;
    try {
        if (readOnly) {
            ReadCopy copy(paths.iniFile);
            job_.IniFilePath = copy.path();
            try {
                warnings = readAllIniSettings(job_);
            } catch (...) {
                job_.IniFilePath = paths.iniFile;
                throw;
            }
            job_.IniFilePath = paths.iniFile;
        } else {
            warnings = readAllIniSettings(job_);
        }
    } catch (const std::exception& e) {
        withoutFile("The settings file could not be read: " + std::string(e.what()));
        return;
    }
    writable_ = !readOnly;

    if (readOnly)
        startUpProblems_.push_back("The settings file " + paths.iniFile +
                                   " is read-only: Kalvoreth reads it but stores no setting in it.");
    if (!warnings.empty()) {
        std::vector<std::string> shown(
            warnings.begin(),
            warnings.begin() + static_cast<std::ptrdiff_t>(std::min(warnings.size(), kMaxWarningsShown)));
        if (warnings.size() > kMaxWarningsShown)
            shown.push_back("... and " + std::to_string(warnings.size() - kMaxWarningsShown) + " more.");
        startUpProblems_.push_back("The settings file " + paths.iniFile + " could not be read in full:\r\n" +
                                   joined(shown, "\r\n"));
    }
}

bool StartUp::shutDown() {
    if (job_.JobDirty) {
        const platform::Answer a =
            prompter_.message(jobChangedQuestion(job_.CurrentJobFile), platform::Buttons::YesNo,
                              platform::kProgramName, platform::Icon::Question);
        if (a == platform::Answer::Yes) {
            bool saved = false;
            try {
                saved = jobFiles_.saveJob();
            } catch (const std::exception& e) {
                prompter_.message("The job could not be saved:\r\n" + std::string(e.what()),
                                  platform::Buttons::Ok, {}, platform::Icon::Critical);
            }
            if (!saved) return false;  // the job is not given up unsaved after a "Yes"
        }
    }
    host_.closeAllWindows();
    writeDefaultView();
    return true;
}

void StartUp::writeDefaultView() {
    if (!writable_) return;
    const std::vector<IniEntry> entries = defaultViewIniEntries(job_.DefaultScreenProperties);
    if (entries.empty()) return;
    try {
        writeIniValues(job_.IniFilePath, entries);  // one rewrite for all keys
    } catch (const std::exception& e) {
        reportSettingsProblem(e.what());
    }
}

void StartUp::reportSettingsProblem(const std::string& why) {
    problems_.report("The settings could not be stored: " + why);
}

}  // namespace kal
