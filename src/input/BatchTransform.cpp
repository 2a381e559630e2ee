#include "input/BatchTransform.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "engine/TransformModel.h"
#include "input/AsciiPointReader.h"
#include "input/PairNaming.h"
#include "input/PointFileIo.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/FileHelpers.h"
#include "shared/NumberText.h"

namespace kal {

namespace fs = std::filesystem;

std::string batchOutputName(std::string_view fileName) {
    const auto dot = fileName.find('.');
    if (dot == std::string_view::npos) return std::string(fileName) + "_out";
    return std::string(fileName.substr(0, dot)) + "_out" + std::string(fileName.substr(dot));
}

std::string folderWithSeparator(std::string folder) {
    if (folder.empty()) return folder;
    if (folder.back() == '\\')
        folder.back() = '/';
    else if (folder.back() != '/')
        folder += '/';
    return folder;
}

std::vector<IniEntry> batchSettingsEntries(const BatchChoices& choices) {
    return {
        {"Roots", "BatchMCSDir", folderWithSeparator(choices.mcsDirectory)},
        {"Roots", "BatchTCSDir", folderWithSeparator(choices.tcsDirectory)},
        {"Settings", "BatchType", choices.batchType},
        {"Settings", "BatchWriteType", choices.writeType},
    };
}

BatchWindowSettings batchWindowSettings(const std::string& iniPath, const std::string& defaultFolder) {
    constexpr const char* kMissing = "1000";
    BatchWindowSettings s;
    auto folder = [&](const char* key) {
        std::string value = readIniValue(iniPath, key);
        if (value == kMissing) return defaultFolder;
        if (!value.empty() && value.back() == '\\') value.back() = '/';
        return value;
    };
    auto option = [&](const char* key) {
        const std::string value = readIniValue(iniPath, key);
        return value == "2" ? 2 : 1;
    };
    s.mcsDirectory = folder("BatchMCSDir");
    s.tcsDirectory = folder("BatchTCSDir");
    s.batchType = option("BatchType");
    s.writeType = option("BatchWriteType");
    return s;
}

std::vector<std::string> listFolderFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string batchStatusText(std::int32_t c, std::int32_t n) {
    return "Calculating on File " + std::to_string(c) + " of " + std::to_string(n) + " Files";
}

std::string overwriteQuestion(const std::string& outputPath) {
    return "File \r\n" + outputPath + "\r\n does allready exist, will you..";
}

std::string batchOutputText(const PointSet& points, const JobState& job) {
    const PointTransform transform(job);
    const double lf = job.LengthFactor;
    const std::string& format = job.LengthFormat;
    std::string out;
    out.reserve(static_cast<std::size_t>(points.count()) * 48);
    double x, y, z;
    for (std::int32_t i = 1; i <= points.count(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        transform.apply(points.x[k], points.y[k], points.z[k], x, y, z);
        out += points.names[k];
        out += '\t';
        out += formatNumber(x * lf, format, '.');
        out += '\t';
        out += formatNumber(y * lf, format, '.');
        out += '\t';
        out += formatNumber(z * lf, format, '.');
        out += "\r\n";
    }
    return out;
}

namespace {

std::string lowerExtension(const std::string& name) {
    std::string ext = fs::path(name).extension().string();
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext;
}

// Why a file is known not to be a point file before its text is looked at; empty when it may be one.
// Such files are passed over without any question, so nothing can offer to rewrite them.
std::string knownNonPointFile(const std::string& name, std::string_view bytes) {
    const std::string ext = lowerExtension(name);
    if (ext == ".tfo") return "a job file";
    if (ext == ".ini") return "a settings file";
    if (bytes.find('\0') != std::string_view::npos) return "not a text file";
    return {};
}

// The line of a file error that says what is wrong: the last line of its message (a refusal's
// first lines name the file), without the path the error puts before it.
std::string reasonOf(const FileError& e) {
    std::string_view m(e.what());
    while (!m.empty() && (m.back() == '\n' || m.back() == '\r')) m.remove_suffix(1);
    if (const auto cut = m.find_last_of("\r\n"); cut != std::string_view::npos) m.remove_prefix(cut + 1);
    if (!e.path().empty() && m.substr(0, e.path().size()) == e.path()) {
        if (const auto colon = m.find(": ", e.path().size()); colon != std::string_view::npos)
            m.remove_prefix(colon + 2);
    }
    return std::string(m);
}

}  // namespace

std::string batchSummary(const BatchOutcome& outcome) {
    std::string text;
    if (!outcome.skipped.empty()) {
        text += "These files are no point files and were skipped (left as they were):";
        for (const auto& note : outcome.skipped) text += "\r\n" + note.path + " - " + note.reason;
    }
    if (!outcome.notCreated.empty()) {
        if (!text.empty()) text += "\r\n\r\n";
        text += "These output files could not be created:";
        for (const auto& note : outcome.notCreated) text += "\r\n" + note.path + " - " + note.reason;
    }
    return text;
}

BatchOutcome runBatchTransform(const JobState& job, const BatchChoices& choices,
                               const BatchServices& services) {
    BatchOutcome outcome;
    auto tellUser = [&](const std::string& text) {
        if (services.prompter) services.prompter->message(text);
    };
    if (!job.TrafoCalculated) {
        tellUser(kNoTransformationCalculated);
        return outcome;
    }
    if (choices.mcsDirectory.empty()) {
        tellUser(kNoMcsDirectory);
        return outcome;
    }
    if (choices.tcsDirectory.empty()) {
        tellUser(kNoTcsDirectory);
        return outcome;
    }
    const std::string mcsFolder = folderWithSeparator(choices.mcsDirectory);
    const std::string tcsFolder = folderWithSeparator(choices.tcsDirectory);
    if (services.writeSettings) services.writeSettings(batchSettingsEntries(choices));

    // The list is complete before the first output is written: outputs landing beside the
    // inputs are not transformed again in this run.
    const std::vector<std::string> files = listFolderFiles(mcsFolder);
    const auto n = static_cast<std::int32_t>(files.size());
    outcome.fileCount = n;
    outcome.end = BatchOutcome::End::Completed;
    std::vector<std::string> outputNames;
    outputNames.reserve(files.size());
    for (const auto& f : files) outputNames.push_back(batchOutputName(f));

    ReadOptions read;
    read.prompter = services.prompter;
    read.decimalSeparator = services.decimalSeparator;
    read.lengthFactor = job.LengthFactor;
    read.angleFactor = 1.0;

    platform::ProgressScope window(services.progress, kBatchProgressCaption);
    platform::ThrottledPump pump(services.events);
    bool overwriteAll = false;
    for (std::int32_t c = 1; c <= n; ++c) {
        pump.poll();
        if (window.stopRequested()) {
            outcome.end = BatchOutcome::End::Stopped;
            break;
        }
        const std::string& name = files[static_cast<std::size_t>(c - 1)];
        const std::string inputPath = mcsFolder + name;
        const std::string outputPath = tcsFolder + outputNames[static_cast<std::size_t>(c - 1)];
        outcome.lastCountText = batchStatusText(c, n);
        outcome.lastInputPath = inputPath;
        if (services.showStatus) services.showStatus(outcome.lastCountText, inputPath);

        auto skip = [&](std::string reason) { outcome.skipped.push_back({inputPath, std::move(reason)}); };
        if (std::find(outputNames.begin(), outputNames.end(), name) != outputNames.end()) {
            skip("the output of another file of this run");
            continue;
        }
        std::string bytes;
        try {
            bytes = readFileBytes(inputPath);
        } catch (const FileError& e) {
            skip(reasonOf(e));
            continue;
        }
        if (auto why = knownNonPointFile(name, bytes); !why.empty()) {
            skip(std::move(why));
            continue;
        }
        AsciiPointFile points;
        try {
            points = parseAsciiPointFile(bytes, inputPath, read);
        } catch (const FileError& e) {
            skip(reasonOf(e));
            continue;
        }
        std::string text;
        try {
            text = batchOutputText(points.points, job);
        } catch (const NumericError& e) {
            skip(e.what());
            continue;
        }
        // The decimal repair the user agreed to, put in place only once the whole file read.
        if (points.rewrittenBytes && !firstDoubleName(points.points.names)) {
            try {
                replaceFileKeepingBackup(inputPath, *points.rewrittenBytes);
            } catch (const FileError& e) {
                tellUser(e.what());
            }
        }

        if (!overwriteAll && isRegularFile(outputPath)) {
            int answer = services.prompter
                             ? services.prompter->custom(overwriteQuestion(outputPath), kBatchOverwriteTitle,
                                                         {kOverwrite, kOverwriteAll, kCancelBatch})
                             : 3;
            if (answer < 1 || answer > 3) answer = 3;
            if (answer == 3) {
                outcome.end = BatchOutcome::End::Cancelled;
                break;
            }
            if (answer == 2) overwriteAll = true;
        }
        try {
            writeFileAtomically(outputPath, text);
            outcome.written.push_back(outputPath);
        } catch (const FileError& e) {
            outcome.notCreated.push_back({outputPath, reasonOf(e)});
        }
        window.setValue(static_cast<int>(static_cast<std::int64_t>(c) * 100 / n));
    }
    window.close();
    if (n == 0 && services.prompter) tellUser("No Files found in MCS Directory\r\n" + mcsFolder);
    if (const auto summary = batchSummary(outcome); !summary.empty()) tellUser(summary);
    return outcome;
}

}  // namespace kal
