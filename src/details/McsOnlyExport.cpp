#include "details/McsOnlyExport.h"

#include <algorithm>

#include "shared/FileHelpers.h"
#include "shared/NumberText.h"

namespace kal {

std::string mcsOnlyFileName(const std::string& jobFile) {
    if (jobFile.empty() || jobFile == kUntitledJobName) return std::string();
    const std::size_t n = jobFile.size();
    const std::size_t folderEnd = jobFile.find_last_of("/\\");
    const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    // Cut a four-character extension only: a name without one keeps all of its letters.
    const bool extension = n >= nameStart + 5 && jobFile[n - 4] == '.';
    return (extension ? jobFile.substr(0, n - 4) : jobFile) + ".txt";
}

std::string mcsOnlyFileBytes(const JobState& job) {
    std::string out;
    const std::int32_t first = job.IdenticalCount + 1, last = job.McsCount;
    if (last >= first) out.reserve(static_cast<std::size_t>(last - first + 1) * 48);
    const double f = job.LengthFactor;
    for (std::int32_t i = first; i <= last; ++i) {
        out += job.MCSt_Name[static_cast<std::size_t>(i)];
        out += '\t';
        out += formatNumber(job.MCSt_X[i] * f, job.LengthFormat);
        out += '\t';
        out += formatNumber(job.MCSt_Y[i] * f, job.LengthFormat);
        out += '\t';
        out += formatNumber(job.MCSt_Z[static_cast<std::size_t>(i)] * f, job.LengthFormat);
        out += "\r\n";
    }
    return out;
}

ExportOutcome exportMcsOnlyPoints(const JobState& job, const ExportServices& s) {
    platform::Prompter* prompter = s.prompter;
    const std::string name = mcsOnlyFileName(job.CurrentJobFile);
    if (name.empty()) {
        if (prompter) prompter->message("Noch kein Dateiname vergeben; mache nix");
        return ExportOutcome::Refused;
    }
    if (name == job.CurrentJobFile) {
        if (prompter)
            prompter->message("The MCS-only points are not written over the job file " + name + ".");
        return ExportOutcome::Refused;
    }
    // The counts must fit the transformed set before anything is asked or written.
    const auto needed = static_cast<std::size_t>(std::max(job.McsCount, 0)) + 1;
    if (job.IdenticalCount < 0 || job.IdenticalCount > job.McsCount || job.MCSt_Name.size() < needed ||
        job.MCSt_Z.size() < needed || job.MCSt_X.upper() < job.McsCount ||
        job.MCSt_Y.upper() < job.McsCount) {
        if (prompter)
            prompter->message("The transformed points do not match the point counts; nothing was written.");
        return ExportOutcome::Refused;
    }
    if (isRegularFile(name) && !askReplaceExisting(name, prompter)) return ExportOutcome::Cancelled;

    struct BusyScope {
        const ExportServices& s;
        explicit BusyScope(const ExportServices& services) : s(services) {
            if (s.showBusy) s.showBusy(true);
        }
        ~BusyScope() {
            if (s.showBusy) s.showBusy(false);
        }
    };
    std::optional<std::string> why;
    {
        BusyScope busy(s);
        why = tryWriteExportFile(name, mcsOnlyFileBytes(job));
    }
    if (!why) return ExportOutcome::Written;
    showWriteFailure(*why, prompter);  // with the normal pointer back
    return ExportOutcome::Failed;
}

}  // namespace kal
