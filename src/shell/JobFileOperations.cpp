// Writing the job file and opening one: the file operations under the job commands.

#include <filesystem>

#include "jobfile/JobFileItems.h"
#include "jobfile/JobFileReader.h"
#include "jobfile/JobFileWriter.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/FileHelpers.h"
#include "shell/JobCommands.h"
#include "view3d/SavedViews.h"

namespace kal {
namespace {

// The hourglass for the lifetime of a scope, restored on every way out.
class BusyCursor {
  public:
    explicit BusyCursor(JobWindow& w) : w_(w) { w_.setBusy(true); }
    ~BusyCursor() { w_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    JobWindow& w_;
};

}  // namespace

bool JobCommands::saveJobAt(const std::string& path) {
    JobFileWriteNotes notes;
    {
        BusyCursor busy(window_);
        try {
            writeFileAtomically(path, writeJobFile(job_, notes));
        } catch (const std::exception& e) {
            say("The job could not be saved to " + path + ".\r\n\r\n" + e.what() +
                "\r\n\r\nThe file on disk was left as it was.");
            return false;
        }
    }
    if (notes.textsLossy)
        say("Some texts of the job hold characters that a job file cannot store; they were saved as \"?\".");
    if (notes.linesLeftOut)
        say("Lines of a saved view that reach points beyond row 32767 cannot be stored in a job file and "
            "were left "
            "out.");
    pushRecentFile();
    job_.JobDirty = false;
    window_.refreshState();
    return true;
}

bool JobCommands::openJobAt(const std::string& path) {
    if (!isRegularFile(path)) {
        std::error_code ec;
        say(!path.empty() && std::filesystem::is_directory(path, ec) ? job_messages::folderNotJob(path)
                                                                     : std::string(job_messages::kMissing));
        return false;
    }
    std::string bytes;
    try {
        BusyCursor busy(window_);
        bytes = readFileBytes(path);
    } catch (const std::exception& e) {
        say(std::string("The job file cannot be read.\r\n\r\n") + e.what());
        return false;
    }
    return openJobBytes(bytes, path);
}

bool JobCommands::openJobBytes(std::string_view bytes, const std::string& path) {
    JobFileHeader header = probeJobFileHeader(bytes);
    if (header.kind == JobFileHeader::Kind::NotAJob) {
        auto answer = prompter_.message(job_messages::notAJob(), platform::Buttons::YesNo);
        if (answer != platform::Answer::Yes) return false;
        header = olderLayoutWithoutVersion();
    }

    JobFileReadResult result;
    try {
        BusyCursor busy(window_);
        result = readJobFile(bytes, header);
    } catch (const FormatError& e) {
        say(std::string(job_messages::kDamaged) + "\r\n\r\n" + e.what());
        return false;
    }

    const JobFileVersion program = programJobFileVersion();
    if (isNewerThan(header.version, program))
        say(job_messages::newerFile(header.version.text, program.text));
    else if (isNewerThan(program, header.version))
        say(job_messages::olderFile(header.version.text, program.text));
    if (result.savedViewsMissing) say(job_messages::kSavedViewsMissing);

    // The whole file is read and checked: only now is the current job given up.
    BusyCursor busy(window_);
    window_.closeAllChildForms();
    job_.CurrentJobFile = path;
    window_.resetJob();
    adoptJobFileItems(job_, std::move(result.job));
    // The saved views were made on the points saved with them: remember which point each line
    // and flag stands on, so that a view restored after other points are loaded can tell.
    recordSavedViewRowNames(job_);
    job_.JobDirty = false;
    window_.unitsChanged();
    window_.jobLoaded();
    window_.refreshState();
    return true;
}

}  // namespace kal
