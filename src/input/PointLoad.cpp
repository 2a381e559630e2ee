#include "input/PointLoad.h"

#include <charconv>
#include <stdexcept>

#include "engine/FootPoint.h"
#include "input/AsciiPointReader.h"
#include "input/MatchingMethods.h"
#include "input/NetworkFileReader.h"
#include "input/PointMatching.h"
#include "input/RobotFileReaders.h"
#include "input/ShapeProfileReader.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/FileHelpers.h"

namespace kal {

namespace {

// Passes every box on and remembers the text of the last one, so that the load can tell whether
// a failure was already reported to the user by the step that failed.
class RememberingPrompter : public platform::Prompter {
  public:
    explicit RememberingPrompter(platform::Prompter& inner) : inner_(inner) {}
    const std::string& lastText() const { return last_; }

  protected:
    platform::Answer showMessage(const std::string& text, platform::Buttons buttons, const std::string& title,
                                 platform::Icon icon) override {
        last_ = text;
        return inner_.message(text, buttons, title, icon);
    }
    int showCustom(const std::string& text, const std::string& title,
                   const std::vector<std::string>& captions) override {
        last_ = text;
        return inner_.custom(text, title, captions);
    }
    std::optional<std::string> showInput(const std::string& prompt, const std::string& title,
                                         const std::string& defaultText) override {
        last_.clear();
        return inner_.input(prompt, title, defaultText);
    }

  private:
    platform::Prompter& inner_;
    std::string last_;
};

bool isRobotOrShape(OcsFormat format) { return format != kOcsAscii; }

// The job's variable that keeps the file of a robot or shape format.
std::string* formatFileVariable(JobState& job, OcsFormat format) {
    switch (format) {
        case kOcsKuka:
            return &job.KUKADatei;
        case kOcsModx:
            return &job.ABBmodxDatei;
        case kOcsFanuc:
            return &job.FanucDatei;
        case kOcsXyzAbc:
            return &job.XYZABCDatei;
        case kOcsQuat:
            return &job.QuaternionDatei;
        case kOcsParaboloid:
            return &job.ParaboloidDatei;
        default:
            return nullptr;
    }
}

void setFormatFlags(JobState& job, OcsFormat format) {
    job.AsciiOcsMode = format == kOcsAscii;
    job.KukaOcsMode = format == kOcsKuka;
    job.ModxOcsMode = format == kOcsModx;
    job.FanucOcsMode = format == kOcsFanuc;
    job.XyzAbcOcsMode = format == kOcsXyzAbc;
    job.QuatOcsMode = format == kOcsQuat;
    job.ParaboloidMode = format == kOcsParaboloid;
    job.OcsFormatIndex = format;
}

// Everything the load read and matched, held apart from the job until the commit.
struct StagedPoints {
    MatchedPoints matched;
    MatchingOutcome matching;
    char delimiter = ' ';
    bool hasNames = true;
    std::optional<AbcRanges> ranges;
    std::optional<Matrix> shapeProfile;
};

enum class StageEnd { Staged, Ended, Stopped };

StageEnd readAndMatch(const JobState& job, const PointLoadRequest& request, const PointLoadServices& services,
                      platform::Prompter& prompter, StagedPoints& staged) {
    const ReadOptions options = readOptionsFor(job, &prompter);
    AsciiPointFile mcs = readAsciiPointFile(request.mcsFile, options);
    PointSet ocs;
    std::optional<Matrix> angles;
    staged.delimiter = mcs.delimiter, staged.hasNames = mcs.hasNames;
    switch (request.ocsFormat) {
        case kOcsAscii: {
            AsciiPointFile file = readAsciiPointFile(request.ocsFile, options);
            staged.delimiter = file.delimiter, staged.hasNames = file.hasNames;
            ocs = std::move(file.points);
            break;
        }
        case kOcsParaboloid:
            // The MCS file stands for both sets; the foot points replace the OCS below.
            ocs = mcs.points;
            break;
        default: {
            // Controller files name their points 1, 2, ...; so are the MCS points of an ABB module.
            if (request.ocsFormat == kOcsModx)
                for (std::int32_t i = 1; i <= mcs.points.count(); ++i)
                    mcs.points.names[static_cast<std::size_t>(i)] = std::to_string(i);
            OcsPointSet set = readOcsFile(request.ocsFormat, request.ocsFile, options);
            if (set.delimiter != 0) staged.delimiter = set.delimiter, staged.hasNames = set.hasNames;
            staged.ranges = set.ranges;
            ocs = std::move(set.points);
            angles = std::move(set.angles);
            break;
        }
    }

    if (request.method != PointMatchMethod::ByName) {
        MatchingRequest r;
        r.ocsFormat = request.ocsFormat;
        r.renameMcs = request.renameMcs, r.renameOcs = request.renameOcs;
        r.mcsFileName = request.mcsFile, r.ocsFileName = request.ocsFile;
        r.fileDelimiter = staged.delimiter;
        r.lengthFactor = options.lengthFactor;
        r.ocsLimit = request.ocsLimit;
        if (request.method == PointMatchMethod::ByCoordinates) {
            staged.matching = matchByCoordinates(mcs.points, ocs, r, prompter);
        } else {
            const AutoFindServices autoFind{&prompter, services.events, services.progress,
                                            services.seedValues};
            staged.matching = matchByDistances(mcs.points, ocs, r, job, autoFind);
            if (staged.matching.stopped) return StageEnd::Stopped;
        }
        if (staged.matching.loadEnds) return StageEnd::Ended;
    }

    staged.matched = matchPointsByName(std::move(mcs.points), std::move(ocs), std::move(angles), options);

    if (request.ocsFormat == kOcsParaboloid) {
        ShapeProfileFile profile = readShapeProfileFile(request.ocsFile, options);
        // Every MCS point is paired with its own copy; that copy becomes its foot point.
        auto& m = staged.matched.mcs;
        auto& o = staged.matched.ocs;
        for (std::int32_t i = 1; i <= m.count(); ++i) {
            const auto k = static_cast<std::size_t>(i);
            paraboloidFootPoint(profile.profile, m.x[k], m.y[k], m.z[k], o.x[k], o.y[k], o.z[k]);
        }
        staged.shapeProfile = std::move(profile.profile);
    }
    return StageEnd::Staged;
}

std::vector<IniEntry> loadSettings(const JobState& job, const std::string& realOcsFile,
                                   platform::Prompter* prompter) {
    return {
        {"Settings", "NameMCS", job.NameMCS},
        {"Settings", "NameOCS", job.NameOCS},
        {"Roots", "LastMCSRoot", pathFolder(job.MCS_FileName, prompter)},
        {"Roots", "LastOCSRoot", pathFolder(job.OCS_FileName, prompter)},
        {"Roots", "MCS_FileName", job.MCS_FileName},
        {"Roots", "OCS_FileName", realOcsFile},
        {"Settings", "LastDropDownInfoInOCS", static_cast<std::int32_t>(job.OcsFormatIndex)},
    };
}

void writeSettings(const std::vector<IniEntry>& settings, const PointLoadServices& services) {
    if (services.iniFile.empty()) return;
    try {
        writeIniValues(services.iniFile, settings);
    } catch (const std::exception& e) {
        services.prompter->message(std::string("The settings could not be written.\n") + e.what());
    }
}

PointLoadOutcome loadNetworkFile(JobState& job, const PointLoadRequest& request,
                                 const PointLoadServices& services, platform::Prompter& prompter) {
    PointLoadOutcome outcome;
    if (!fileExists(request.networkFile)) {
        prompter.message(fileNotExistingMessage(request.networkFile));
        return outcome;
    }
    const NetworkFile file = parseNetworkFile(readFileBytes(request.networkFile), request.networkFile,
                                              readOptionsFor(job, &prompter));
    job.BuendelStation = file.stations;
    job.BuendelStationDaten = file.stationData;
    job.BuendelPunkt = file.points;
    job.BuendelPunktDaten = file.pointData;
    job.BuendelBeob.assign(static_cast<std::size_t>(file.distanceCount()) + 1, {});
    for (std::int32_t i = 1; i <= file.distanceCount(); ++i) {
        const auto k = static_cast<std::size_t>(i);
        job.BuendelBeob[k][1] = file.from[k];
        job.BuendelBeob[k][2] = file.to[k];
    }
    job.BuendelBeobWert = file.distances;
    job.AnzBuendelStation = file.stationCount();
    job.AnzBuendelPunkt = file.pointCount();
    job.AnzBuendelBeob = file.distanceCount();
    job.DataLoaded = true;
    if (services.jobEvents) services.jobEvents->publish(JobEvent::PointsReplaced);
    prompter.message(networkFileReport(file));
    outcome.status = PointLoadStatus::NetworkLoaded;
    return outcome;
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::optional<std::int32_t> ocsLimitFromControls(bool useOnlyFirstTicked, const std::string& maxOcsText) {
    if (!useOnlyFirstTicked || maxOcsText.empty()) return std::nullopt;
    std::int32_t n = 0;
    const char* end = maxOcsText.data() + maxOcsText.size();
    const auto r = std::from_chars(maxOcsText.data(), end, n);
    if (r.ec != std::errc() || r.ptr != end) return std::nullopt;
    return n;
}

std::string fileNotExistingMessage(const std::string& path) { return path + "\n\n is not existing"; }

std::string pathFolder(const std::string& path, platform::Prompter* prompter) {
    const auto cut = path.find_last_of("/\\");
    if (cut == std::string::npos || cut == 0) {
        if (prompter) prompter->message("Error in Function Pfad");
        return std::string();
    }
    return path.substr(0, cut);
}

ReadOptions readOptionsFor(const JobState& job, platform::Prompter* prompter) {
    ReadOptions options;
    options.prompter = prompter;
    options.lengthFactor = job.LengthFactor;
    options.angleFactor = job.AngleFactor;
    if (!job.LengthUnitName.empty()) options.lengthUnitName = job.LengthUnitName;
    return options;
}

PointLoadOutcome loadPoints(JobState& job, const PointLoadRequest& request,
                            const PointLoadServices& services) {
    if (!services.prompter) throw std::invalid_argument("loadPoints needs a prompter");
    RememberingPrompter prompter(*services.prompter);
    PointLoadOutcome outcome;
    outcome.status = PointLoadStatus::Refused;

    // Whatever fails below, the user has been told why once, and the job is as it was.
    auto tellUnlessTold = [&](const std::exception& e) {
        if (prompter.lastText().empty() || !endsWith(e.what(), prompter.lastText()))
            prompter.message(std::string("The points could not be loaded.\n") + e.what());
    };

    if (!request.networkFile.empty()) {
        try {
            return loadNetworkFile(job, request, services, prompter);
        } catch (const std::exception& e) {
            tellUnlessTold(e);
            return outcome;
        }
    }

    for (const auto* path : {&request.mcsFile, &request.ocsFile}) {
        if (!fileExists(*path)) {
            prompter.message(fileNotExistingMessage(*path));
            return outcome;
        }
    }
    // Robot and shape files carry no second copy of the MCS to compare geometry with: the other
    // methods would match the MCS file with itself.
    if (isRobotOrShape(request.ocsFormat) && request.method != PointMatchMethod::ByName) {
        prompter.message(kGeometryNeedsAscii);
        return outcome;
    }
    if (job.DataLoaded && !request.fromClipboard &&
        prompter.message(kOverwriteQuestion, platform::Buttons::YesNo, kOverwriteTitle) !=
            platform::Answer::Yes) {
        outcome.status = PointLoadStatus::Declined;
        return outcome;
    }

    StagedPoints staged;
    try {
        switch (readAndMatch(job, request, services, prompter, staged)) {
            case StageEnd::Staged:
                break;
            case StageEnd::Stopped:
                prompter.message(kSearchStopped);
                outcome.status = PointLoadStatus::Cancelled;
                return outcome;
            case StageEnd::Ended:
                outcome.status = PointLoadStatus::Cancelled;
                return outcome;
        }
    } catch (const std::exception& e) {
        tellUnlessTold(e);
        return outcome;
    }

    // Every step passed: the job takes the new points.
    const UseFlagsByName flags = rememberUseFlags(job);
    if (job.DataLoaded && services.resetJob) services.resetJob(job);
    clearMonteCarloRuns(job);  // also on a first load, whatever an earlier job left
    job.MCS_FileName = request.mcsFile;
    job.OCS_FileName = request.ocsFile;  // for a robot or shape format: its own file
    if (std::string* file = formatFileVariable(job, request.ocsFormat)) *file = request.ocsFile;
    job.NameMCS = request.nameMcs;
    job.NameOCS = request.nameOcs;
    setFormatFlags(job, request.ocsFormat);
    commitMatchedPoints(job, std::move(staged.matched), flags);
    applyMatchingOutcome(staged.matching, job);
    job.FileDelimiter = std::string(1, staged.delimiter);
    if (staged.ranges)
        job.AbcRange1 = staged.ranges->range1, job.AbcRange2 = staged.ranges->range2,
        job.AbcRange3 = staged.ranges->range3;
    if (staged.shapeProfile) job.ShapeProfile = std::move(*staged.shapeProfile);
    job.DataLoaded = true;
    job.JobDirty = true;
    if (services.jobEvents) services.jobEvents->publish(JobEvent::PointsReplaced);

    outcome.status = PointLoadStatus::Loaded;
    outcome.hasNameColumn = staged.hasNames;
    outcome.settings = loadSettings(job, request.ocsFile, &prompter);
    writeSettings(outcome.settings, services);
    return outcome;
}

}  // namespace kal
