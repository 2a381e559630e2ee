#include "shell/QuickTransformation.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

constexpr std::size_t kTableFields = 9;

// The rows of the table: CR LF, LF and a lone CR end a row; the line end is not part of it.
// A last piece without a line end is a row unless it is a single stray character; blank rows at
// the end are dropped, and so are rows holding only blanks (spaces, or the tabs of an empty
// spreadsheet row): an editor or a spreadsheet often leaves such a line after the table.
bool blankRow(std::string_view row) { return row.find_first_not_of(" \t") == std::string_view::npos; }

std::vector<std::string_view> tableRows(std::string_view text) {
    std::vector<std::string_view> rows;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        rows.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (text.size() - start > 1) rows.push_back(text.substr(start));
    while (!rows.empty() && blankRow(rows.back())) rows.pop_back();
    return rows;
}

std::vector<std::string_view> tabFields(std::string_view row) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = row.find('\t', start);
        if (tab == std::string_view::npos) {
            fields.push_back(row.substr(start));
            return fields;
        }
        fields.push_back(row.substr(start, tab - start));
        start = tab + 1;
    }
}

[[noreturn]] void refuse(const std::string& why) {
    throw FormatError(std::string(kQuickReadError) + "\n" + why);
}

std::string filePath(const std::string& folder, const char* name) {
    const bool endsInSeparator = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    return folder + (endsInSeparator ? "" : "/") + name;
}

}  // namespace

QuickPointFiles splitQuickTable(std::string_view table) {
    const auto rows = tableRows(table);
    if (rows.empty()) refuse("The clipboard holds no table.");
    QuickPointFiles files;
    files.mcs.reserve(table.size() + 4 * rows.size() + 2);
    files.ocs.reserve(table.size() + 4 * rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto fields = tabFields(rows[r]);
        if (fields.size() < kTableFields)
            refuse("Row " + std::to_string(r + 1) + " has " + std::to_string(fields.size()) +
                   (fields.size() == 1 ? " field" : " fields") +
                   "; 9 are needed (MCS name, x, y, z, a separating column, OCS name, x, y, z): \"" +
                   std::string(rows[r].substr(0, 60)) + (rows[r].size() > 60 ? "..." : "") + "\"");
        for (std::size_t f = 0; f < 3; ++f) files.mcs.append(fields[f]).append("\t\t");
        files.mcs.append(fields[3]).append("\t\r\n");
        // Field 5 is the separating column. The OCS z and every later column stay as they stand.
        for (std::size_t f = 5; f < 8; ++f) files.ocs.append(fields[f]).append("\t\t");
        const std::size_t restStart = static_cast<std::size_t>(fields[8].data() - rows[r].data());
        files.ocs.append(rows[r].substr(restStart)).append("\r\n");
    }
    files.mcs.append("\r\n");
    return files;
}

std::string quickStatisticsLine(const JobState& job) {
    const auto length = [&job](double mm) { return formatNumber(mm * job.LengthFactor, job.LengthFormat); };
    std::string line;
    // Under L1 and minimax there is no sigma of the result: the field stays empty.
    line.append("\ts0 \t");
    if (job.NormMode != kNormL1 && job.NormMode != kNormMinimax) line.append(length(job.SigmaXyz));
    line.append("\tSpanne x \t").append(length(job.MaxDevX - job.MinDevX));
    line.append("\tSpanne y \t").append(length(job.MaxDevY - job.MinDevY));
    line.append("\tSpanne z \t").append(length(job.MaxDevZ - job.MinDevZ));
    return line;
}

QuickTransformationResult runQuickTransformation(JobState& job, const QuickTransformationServices& services) {
    platform::Prompter& prompter = *services.load.prompter;
    QuickPointFiles files;
    try {
        files = splitQuickTable(services.clipboard->text());
    } catch (const FormatError& e) {
        prompter.message(e.what());
        return QuickTransformationResult::TableRefused;
    }

    const std::string mcsPath = filePath(services.dataFolder, "mcs.txt");
    const std::string ocsPath = filePath(services.dataFolder, "ocs.txt");
    try {
        std::error_code ec;
        std::filesystem::create_directories(services.dataFolder, ec);
        if (ec) throw FileError(services.dataFolder, 0, "The folder cannot be created: " + ec.message());
        writeFileAtomically(mcsPath, files.mcs);
        writeFileAtomically(ocsPath, files.ocs);
    } catch (const std::exception& e) {
        prompter.message(std::string("The points from the clipboard could not be written.\n") + e.what());
        return QuickTransformationResult::FilesFailed;
    }

    // The load by name of the two files just written, whatever the input dialog holds.
    PointLoadRequest request;
    request.mcsFile = mcsPath;
    request.ocsFile = ocsPath;
    request.ocsFormat = kOcsAscii;
    request.method = PointMatchMethod::ByName;
    request.fromClipboard = true;
    const PointLoadOutcome loaded = loadPoints(job, request, services.load);
    if (loaded.status != PointLoadStatus::Loaded) return QuickTransformationResult::NotLoaded;
    // Every x, y and z observation of every identical point takes part.
    bool flagsChanged = false;
    const std::size_t observations =
        3u * static_cast<std::size_t>(std::max<std::int32_t>(0, job.IdenticalCount));
    for (std::size_t i = 1; i < job.UseFlags.size() && i <= observations; ++i) {
        flagsChanged = flagsChanged || job.UseFlags[i] != 1;
        job.UseFlags[i] = 1;
    }
    if (flagsChanged) {
        job.JobDirty = true;
        if (services.load.jobEvents) services.load.jobEvents->publish(JobEvent::UseFlagsChanged);
    }

    const CalcStatus status = services.calculate ? services.calculate() : CalcStatus::Refused;
    if (status != CalcStatus::Solved) return QuickTransformationResult::NotSolved;
    try {
        services.clipboard->setText(services.clipboard->text() + quickStatisticsLine(job));
    } catch (const std::exception& e) {
        prompter.message(e.what());
        return QuickTransformationResult::NotSolved;
    }
    return QuickTransformationResult::Solved;
}

}  // namespace kal
