#include "network/NetworkCalculation.h"

#include <cmath>
#include <filesystem>
#include <optional>
#include <unordered_map>

#include "network/NetworkReduction.h"
#include "shared/AtomicFile.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

constexpr const char* kCrLf = "\r\n";

std::string inQuotes(const std::string& name) { return "\"" + name + "\""; }

// The checks before the first iteration and the problem they leave; nullopt after a message.
std::optional<NetworkProblem> prepareProblem(JobState& job, const std::string& reduceText, ReductionRule rule,
                                             platform::Prompter& prompter) {
    const std::int32_t nS = job.AnzBuendelStation, nP = job.AnzBuendelPunkt, nD = job.AnzBuendelBeob;
    auto refuse = [&](const std::string& text) {
        prompter.message(text);
        return std::nullopt;
    };
    if (nS < 3) return refuse(kStationsInOneLine);

    // Names: one meaning each, as the result files list stations and points under their names.
    std::unordered_map<std::string, std::int32_t> stationIndex, pointIndex;
    for (std::int32_t s = 1; s <= nS; ++s) {
        const std::string& name = job.BuendelStation[static_cast<std::size_t>(s)];
        if (!stationIndex.emplace(name, s).second)
            return refuse("The station name " + inQuotes(name) + " is given twice (stations " +
                          std::to_string(stationIndex[name]) + " and " + std::to_string(s) +
                          "); every name of the network must be unique.");
    }
    for (std::int32_t p = 1; p <= nP; ++p) {
        const std::string& name = job.BuendelPunkt[static_cast<std::size_t>(p)];
        if (stationIndex.count(name))
            return refuse("The name " + inQuotes(name) + " is given to a station and to object point " +
                          std::to_string(p) + "; every name of the network must be unique.");
        if (!pointIndex.emplace(name, p).second)
            return refuse("The object point name " + inQuotes(name) + " is given twice (points " +
                          std::to_string(pointIndex[name]) + " and " + std::to_string(p) +
                          "); every name of the network must be unique.");
    }
    for (std::int32_t i = 1; i <= nD; ++i) {
        const double d = job.BuendelBeobWert[static_cast<std::size_t>(i)];
        if (!(d > 0.0)) {
            const auto& o = job.BuendelBeob[static_cast<std::size_t>(i)];
            return refuse("Distance " + std::to_string(i) + " of the network file (" + o[1] + " - " + o[2] +
                          ") is " + generalText(d) + "; a distance must be above 0.");
        }
    }

    const std::optional<double> percent = reductionPercent(reduceText, rule);
    if (!percent || !(*percent > 0.0 && *percent <= 100.0))
        return refuse("The percentage of the object points to use must be a number above 0 and at most 100.");
    const std::vector<std::int32_t> chosen = reducedPointIndices(*percent, nP, rule);
    if (chosen.empty())
        return refuse("With " + reduceText + " % of " + std::to_string(nP) +
                      " object points no point is used; please take a larger percentage.");

    NetworkProblem problem;
    problem.stations = &job.BuendelStationDaten;
    problem.stationCount = nS;
    problem.stationNames = job.BuendelStation;
    problem.points.resize(static_cast<std::int32_t>(chosen.size()), 3);
    std::unordered_map<std::string, std::int32_t> usedIndex;
    for (std::size_t j = 0; j < chosen.size(); ++j) {
        const auto used = static_cast<std::int32_t>(j) + 1;
        const std::int32_t p = chosen[j];
        problem.pointNames.push_back(job.BuendelPunkt[static_cast<std::size_t>(p)]);
        for (std::int32_t axis = 1; axis <= 3; ++axis)
            problem.points(used, axis) = job.BuendelPunktDaten(p, axis);
        usedIndex.emplace(problem.pointNames.back(), used);
    }
    // An observation whose station or point is not in the run is left out without a word.
    std::vector<std::vector<std::int32_t>> stationsOfPoint(chosen.size() + 1);
    for (std::int32_t i = 1; i <= nD; ++i) {
        const auto& o = job.BuendelBeob[static_cast<std::size_t>(i)];
        const auto s = stationIndex.find(o[1]);
        const auto p = usedIndex.find(o[2]);
        if (s == stationIndex.end() || p == usedIndex.end()) continue;
        problem.observations.push_back(
            {s->second, p->second, job.BuendelBeobWert[static_cast<std::size_t>(i)]});
        auto& seen = stationsOfPoint[static_cast<std::size_t>(p->second)];
        if (std::find(seen.begin(), seen.end(), s->second) == seen.end()) seen.push_back(s->second);
    }
    for (std::size_t j = 1; j < stationsOfPoint.size(); ++j)
        if (stationsOfPoint[j].size() < 3)
            return refuse("Object point " + inQuotes(problem.pointNames[j]) + " is measured from " +
                          std::to_string(stationsOfPoint[j].size()) +
                          " station(s) only; every point needs distances from at least three stations.");
    const auto w = static_cast<std::int32_t>(problem.observations.size());
    const std::int32_t u = problem.unknownCount();
    if (w <= u)
        return refuse("The network has " + std::to_string(w) + " distances for " + std::to_string(u) +
                      " unknowns; it needs more distances than unknowns (no redundancy).");
    for (const NetworkObservation& o : problem.observations) {
        const Matrix& S = job.BuendelStationDaten;
        if (S(o.station, 1) == problem.points(o.point, 1) && S(o.station, 2) == problem.points(o.point, 2) &&
            S(o.station, 3) == problem.points(o.point, 3))
            return refuse("Station " + inQuotes(problem.stationNames[static_cast<std::size_t>(o.station)]) +
                          " stands on object point " +
                          inQuotes(problem.pointNames[static_cast<std::size_t>(o.point)]) +
                          " (their distance is 0); the network cannot be adjusted.");
    }
    return problem;
}

std::string notConvergedMessage(std::int32_t iterations) {
    return "The network adjustment has not converged after " + std::to_string(iterations) +
           " iterations (not converged). Nothing was loaded; the stations keep their start values.";
}

// σ of one free coordinate; empty when the coordinate is not determined by the distances.
std::string sigmaText(const NetworkIterationResult& r, std::int32_t unknown, double s0) {
    const double q = r.qxx(unknown, unknown);
    if (r.normalDiagonal[static_cast<std::size_t>(unknown)] == 0.0 || !(q >= 0.0)) return "not determined";
    return generalText(s0 * std::sqrt(q));
}

std::string resultListing(const NetworkProblem& p, const NetworkIterationResult& r, double s0) {
    std::vector<std::int32_t> unknownOfColumn(static_cast<std::size_t>(p.unknownCount()) + 7, 0);
    for (std::size_t k = 1; k < r.unknownColumns.size(); ++k)
        unknownOfColumn[static_cast<std::size_t>(r.unknownColumns[k])] = static_cast<std::int32_t>(k);
    std::string text;
    auto line = [&](const std::string& name, const Matrix& m, std::int32_t row, std::int32_t firstColumn) {
        text += name;
        for (std::int32_t axis = 1; axis <= 3; ++axis) text += "\t" + generalText(m(row, axis));
        for (std::int32_t axis = 0; axis < 3; ++axis) {
            const std::int32_t k = unknownOfColumn[static_cast<std::size_t>(firstColumn + axis)];
            text += "\t" + (k == 0 ? std::string("0") : sigmaText(r, k, s0));
        }
        text += kCrLf;
    };
    for (std::int32_t s = 1; s <= p.stationCount; ++s)
        line(p.stationNames[static_cast<std::size_t>(s)], *p.stations, s, 3 * s - 2);
    for (std::int32_t j = 1; j <= p.pointCount(); ++j)
        line(p.pointNames[static_cast<std::size_t>(j)], p.points, j, 3 * p.stationCount + 3 * j - 2);
    for (std::size_t i = 0; i < p.observations.size(); ++i) {
        const NetworkObservation& o = p.observations[i];
        text += p.stationNames[static_cast<std::size_t>(o.station)] + "\t" +
                p.pointNames[static_cast<std::size_t>(o.point)] + "\t" + generalText(r.residuals[i + 1]) +
                kCrLf;
    }
    return text;
}

std::string endLine(NetworkRunEnd end, std::int32_t iterations) {
    const std::string n = std::to_string(iterations);
    switch (end) {
        case NetworkRunEnd::Converged:
            return "converged after " + n + " iterations";
        case NetworkRunEnd::Stopped:
            return "stopped after " + n + " iterations";
        default:
            return "not converged after " + n + " iterations";
    }
}

NetworkRunOutcome run(JobState& job, const std::string& reduceText, const NetworkServices& services,
                      bool variant) {
    if (!services.prompter) throw std::invalid_argument("the network adjustment needs a prompter");
    platform::Prompter& prompter = *services.prompter;
    job.StopFlag = false;  // a STOP pressed while nothing ran belongs to no run
    NetworkRunOutcome outcome;
    std::optional<NetworkProblem> problem = prepareProblem(
        job, reduceText, variant ? ReductionRule::FixedDatumRun : ReductionRule::Calculate, prompter);
    if (!problem) return outcome;
    outcome.unknowns = problem->unknownCount();
    outcome.observations = static_cast<std::int32_t>(problem->observations.size());

    const Matrix startStations = job.BuendelStationDaten;
    const std::string startText =
        variant ? std::string()
                : networkPointFileText(problem->stationNames, startStations, problem->stationCount,
                                       problem->pointNames, problem->points);
    NetworkView* view = variant ? nullptr : services.view;
    if (view) view->clearSummary();

    NetworkIterationSettings settings;
    settings.datum = variant ? NetworkDatumKind::Fixed : NetworkDatumKind::Chosen;
    settings.threshold = variant ? 0.000001 : 0.00001;
    settings.maxIterations = services.maxIterations;
    settings.log = view;
    settings.keepIterationLog = !variant;
    settings.stopFlag = &job.StopFlag;
    settings.events = services.events;

    auto fail = [&](NetworkRunStatus status, const std::string& message) {
        job.BuendelStationDaten = startStations;
        prompter.message(message);
        outcome.status = status;
        return outcome;
    };

    NetworkIterationResult result;
    try {
        platform::ProgressScope progress(services.progress, variant
                                                                ? "Network adjustment, fixed datum - Progress"
                                                                : "Network adjustment - Progress");
        settings.progress = services.progress;
        result = iterateNetwork(*problem, settings);
    } catch (const NetworkError& e) {
        return fail(NetworkRunStatus::Failed, e.what());
    } catch (const std::exception& e) {
        return fail(NetworkRunStatus::Failed,
                    std::string("The network adjustment failed: ") + e.what() +
                        ". Nothing was loaded; the stations keep their start values.");
    }
    outcome.end = result.end;
    outcome.iterations = result.iterations;
    if (view) view->summary(endLine(result.end, result.iterations));
    if (result.end == NetworkRunEnd::NotConverged)
        return fail(NetworkRunStatus::NotConverged, notConvergedMessage(result.iterations));
    job.StopFlag = false;
    if (variant) {
        outcome.status = NetworkRunStatus::Adjusted;
        return outcome;
    }

    if (services.clipboard) {
        services.clipboard->clear();
        services.clipboard->setText(result.iterationLog);
    }
    const std::string ocsPath = services.dataFolder + "/" + kNetworkOcsFile;
    const std::string mcsPath = services.dataFolder + "/" + kNetworkMcsFile;
    try {
        std::filesystem::create_directories(services.dataFolder);
        writeFileAtomically(ocsPath, startText);
        writeFileAtomically(
            mcsPath, networkPointFileText(problem->stationNames, job.BuendelStationDaten,
                                          problem->stationCount, problem->pointNames, problem->points));
    } catch (const std::exception& e) {
        return fail(NetworkRunStatus::Failed,
                    std::string("The results of the network adjustment could not be "
                                "written; nothing was loaded.\n") +
                        e.what());
    }

    PointLoadRequest request;
    request.mcsFile = mcsPath;
    request.ocsFile = ocsPath;
    if (!job.NameMCS.empty()) request.nameMcs = job.NameMCS;
    if (!job.NameOCS.empty()) request.nameOcs = job.NameOCS;
    PointLoadServices load = services.load;
    load.prompter = &prompter;
    const PointLoadOutcome loaded = loadPoints(job, request, load);
    if (loaded.status != PointLoadStatus::Loaded) {
        job.BuendelStationDaten = startStations;
        outcome.status = NetworkRunStatus::NotLoaded;
        return outcome;
    }

    const double w = static_cast<double>(problem->observations.size());
    outcome.s0 = std::sqrt(result.sumVV / (w - 1.0 + 1e-9));
    outcome.listing = resultListing(*problem, result, outcome.s0);
    if (view) view->showResults(outcome.listing);
    outcome.status = NetworkRunStatus::Loaded;
    return outcome;
}

}  // namespace

std::string networkPointFileText(const std::vector<std::string>& stationNames, const Matrix& stations,
                                 std::int32_t stationCount, const std::vector<std::string>& pointNames,
                                 const Matrix& points) {
    std::string text;
    auto line = [&](const std::string& name, const Matrix& m, std::int32_t row) {
        text += name;
        for (std::int32_t axis = 1; axis <= 3; ++axis) text += "\t" + generalText(m(row, axis));
        text += kCrLf;
    };
    for (std::int32_t s = 1; s <= stationCount; ++s)
        line(stationNames[static_cast<std::size_t>(s)], stations, s);
    for (std::int32_t j = 1; j <= points.rows(); ++j)
        line(pointNames[static_cast<std::size_t>(j)], points, j);
    return text;
}

NetworkRunOutcome calculateNetwork(JobState& job, const std::string& reduceText,
                                   const NetworkServices& services) {
    return run(job, reduceText, services, false);
}

NetworkRunOutcome runFixedDatumVariant(JobState& job, const std::string& reduceText,
                                       const NetworkServices& services) {
    return run(job, reduceText, services, true);
}

}  // namespace kal
