#include "network/NetworkAdjustment.h"

#include <algorithm>
#include <cmath>

#include "network/NetworkNormalEquations.h"
#include "shared/Errors.h"
#include "shared/NumberText.h"

namespace kal {

namespace {

constexpr const char* kCrLf = "\r\n";

// The unknown of every full column (0 for a held one) and the full column of every unknown.
void numberUnknowns(const NetworkDatum& datum, std::int32_t columns, std::vector<std::int32_t>& unknownOf,
                    std::vector<std::int32_t>& columnOf) {
    unknownOf.assign(static_cast<std::size_t>(columns) + 1, 1);
    unknownOf[0] = 0;
    for (std::int32_t c : datum.heldColumns) unknownOf[static_cast<std::size_t>(c)] = 0;
    columnOf.assign(1, 0);
    for (std::int32_t c = 1; c <= columns; ++c)
        if (unknownOf[static_cast<std::size_t>(c)] != 0) {
            columnOf.push_back(c);
            unknownOf[static_cast<std::size_t>(c)] = static_cast<std::int32_t>(columnOf.size()) - 1;
        }
}

double& coordinateOfColumn(NetworkProblem& p, std::int32_t column) {
    const std::int32_t stationColumns = 3 * p.stationCount;
    if (column <= stationColumns) return (*p.stations)((column - 1) / 3 + 1, (column - 1) % 3 + 1);
    const std::int32_t c = column - stationColumns;
    return p.points((c - 1) / 3 + 1, (c - 1) % 3 + 1);
}

}  // namespace

NetworkIterationResult iterateNetwork(NetworkProblem& problem, const NetworkIterationSettings& settings) {
    NetworkIterationResult result;
    const std::int32_t u = problem.unknownCount();
    const std::int32_t columns = u + 6;
    const double bytes = 8.0 * (u + 1.0) * (u + 1.0);
    if (bytes > kNetworkMatrixByteLimit)
        throw NetworkError(
            "The network has " + std::to_string(u) +
            " unknowns; its normal matrix would need more memory than the adjustment may take.");
    Matrix& stations = *problem.stations;
    platform::ThrottledPump pump(settings.events);
    const std::function<void()> poll = [&pump] { pump.poll(); };
    auto step = [&](const char* line) {
        if (settings.log) settings.log->step(line);
        pump.poll();
    };

    std::vector<std::int32_t> unknownOf, columnOf;
    std::vector<DesignRow> rows(problem.observations.size());
    std::vector<double> rightSide, x;
    result.qxx.resize(u, u);
    std::int32_t iteration = 0;

    for (;;) {
        ++iteration;
        if (settings.log) settings.log->step("Iteration " + std::to_string(iteration));
        step("calculationg A Matrix");
        const std::optional<NetworkDatum> datum = chooseDatum(stations, problem.stationCount, settings.datum);
        if (!datum) throw NetworkError(kStationsInOneLine);
        numberUnknowns(*datum, columns, unknownOf, columnOf);

        for (std::size_t r = 0; r < problem.observations.size(); ++r) {
            const NetworkObservation& o = problem.observations[r];
            const double dx = stations(o.station, 1) - problem.points(o.point, 1);
            const double dy = stations(o.station, 2) - problem.points(o.point, 2);
            const double dz = stations(o.station, 3) - problem.points(o.point, 3);
            const double s = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (!std::isfinite(s)) throw NumericError("Invalid floating-point result in a network distance");
            if (s == 0.0)
                throw NetworkError("Station \"" + problem.stationNames[static_cast<std::size_t>(o.station)] +
                                   "\" stands on object point \"" +
                                   problem.pointNames[static_cast<std::size_t>(o.point)] +
                                   "\" (their distance is 0); the network cannot be adjusted.");
            DesignRow& row = rows[r];
            row.size = 0;
            const double d[3] = {dx / s, dy / s, dz / s};
            const std::int32_t stationColumn = 3 * o.station - 2;
            const std::int32_t pointColumn = 3 * problem.stationCount + 3 * o.point - 2;
            for (int side = 0; side < 2; ++side)
                for (int axis = 0; axis < 3; ++axis) {
                    const std::int32_t c = (side == 0 ? stationColumn : pointColumn) + axis;
                    const std::int32_t k = unknownOf[static_cast<std::size_t>(c)];
                    if (k == 0) continue;
                    row.unknown[static_cast<std::size_t>(row.size)] = k;
                    row.value[static_cast<std::size_t>(row.size)] = side == 0 ? d[axis] : -d[axis];
                    ++row.size;
                }
            row.misclosure = o.distance - s;
        }

        step("calculating A transponiert");
        step("calculating At * P");
        step("calculating N = (At * P) * A");
        accumulateNormalEquations(rows, u, result.qxx, rightSide, poll);
        result.normalDiagonal.assign(static_cast<std::size_t>(u) + 1, 0.0);
        for (std::int32_t k = 1; k <= u; ++k)
            result.normalDiagonal[static_cast<std::size_t>(k)] = result.qxx(k, k);
        step("calculating qxx = N^-1");
        invertInPlace(result.qxx, u, [&](double done) {
            if (settings.progress) settings.progress->setValue(static_cast<int>(100.0 * done));
            pump.poll();
        });
        step("calculating n = (At * P) * l");
        step("calculating x = qxx * n");
        x.assign(static_cast<std::size_t>(u) + 1, 0.0);
        for (std::int32_t i = 1; i <= u; ++i) {
            const double* q = &result.qxx(i, 0);
            double sum = 0.0;
            for (std::int32_t k = 1; k <= u; ++k) {
                const double nk = rightSide[static_cast<std::size_t>(k)];
                if (q[k] != 0.0 && nk != 0.0) sum += q[k] * nk;
            }
            x[static_cast<std::size_t>(i)] = checkedFinite(sum, "the network corrections");
        }
        step("calculating v = A * x -l");
        result.residuals.assign(rows.size() + 1, 0.0);
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const DesignRow& row = rows[r];
            double ax = 0.0;
            for (int e = 0; e < row.size; ++e) {
                const double a = row.value[static_cast<std::size_t>(e)];
                const double xe = x[static_cast<std::size_t>(row.unknown[static_cast<std::size_t>(e)])];
                if (a != 0.0 && xe != 0.0) ax += a * xe;
            }
            result.residuals[r + 1] = checkedFinite(ax - row.misclosure, "the network residuals");
        }
        step("calculating unknowns");
        result.maxCorrection = 0.0;
        for (std::int32_t k = 1; k <= u; ++k) {
            coordinateOfColumn(problem, columnOf[static_cast<std::size_t>(k)]) +=
                x[static_cast<std::size_t>(k)];
            result.maxCorrection = std::max(result.maxCorrection, std::fabs(x[static_cast<std::size_t>(k)]));
        }
        result.sumV = 0.0, result.sumVV = 0.0;
        for (std::size_t r = 1; r < result.residuals.size(); ++r)
            result.sumV += result.residuals[r], result.sumVV += result.residuals[r] * result.residuals[r];

        if (settings.keepIterationLog) {
            std::string& log = result.iterationLog;
            log += "x i";
            log += kCrLf;
            for (std::int32_t k = 1; k <= u; ++k) {
                log += generalText(x[static_cast<std::size_t>(k)]) + kCrLf;
                if ((k & 4095) == 0) pump.poll();
            }
            log += "v i";
            log += kCrLf;
            for (std::size_t r = 1; r < result.residuals.size(); ++r) {
                log += generalText(result.residuals[r]) + kCrLf;
                if ((r & 4095) == 0) pump.poll();
            }
        }
        if (settings.log)
            settings.log->summary("Iterations " + std::to_string(iteration) + "\tBiggest x " +
                                  generalText(result.maxCorrection) + "\t[v] " + generalText(result.sumV) +
                                  "\t[vv] " + generalText(result.sumVV));
        pump.flush();  // a STOP clicked during this iteration arrives here

        result.iterations = iteration;
        result.unknownColumns = columnOf;
        if (result.maxCorrection < settings.threshold) {
            result.end = NetworkRunEnd::Converged;
            break;
        }
        if ((settings.stopFlag && *settings.stopFlag) ||
            (settings.progress && settings.progress->stopRequested())) {
            result.end = NetworkRunEnd::Stopped;
            break;
        }
        if (iteration >= settings.maxIterations) {
            result.end = NetworkRunEnd::NotConverged;
            break;
        }
    }
    return result;
}

}  // namespace kal
