#pragma once
// The iterated least-squares adjustment of a distance network (the loop of CalcBuendel and of the
// fixed-datum variant): each distance row d = S − Q, s = |d|, gives ±d/s at the station's and
// the point's columns and l = measured − s; six datum columns are held (NetworkDatum.h); the
// corrections x = N⁻¹·AᵀPl (P = 1) are added to the stations (in place, in the caller's table)
// and to the used points' copy, until the largest |x| is below the threshold, StopFlag is set,
// or the iteration cap is reached ("not converged").
//
// Cost per iteration: O(36·w + u³); memory: one (u+1)² matrix of doubles plus O(u + w)
// (u = 3000: about 72 MB). Events pass at least every 50 ms, inside the inversion too; StopFlag
// is tested once per iteration, after the iteration's events, so a stop lets the running
// iteration finish. Throws NetworkError (a station on a point, the stations in one line) or
// NumericError (a non-finite pivot or correction) with the stations and points as the last
// complete iteration left them; the caller puts them back.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "network/NetworkDatum.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "shared/Matrix.h"

namespace kal {

// A refusal of the adjustment; what() is the message for the user.
class NetworkError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// One used observation: the station's index, the used point's index, the measured distance.
struct NetworkObservation {
    std::int32_t station = 0;
    std::int32_t point = 0;
    double distance = 0.0;
};

// What the iteration works on. `stations` is the job's table (rows 1..stationCount, columns
// 1..3), adjusted in place; `points` the used points' copy (rows 1..points.rows()).
struct NetworkProblem {
    Matrix* stations = nullptr;
    std::int32_t stationCount = 0;
    std::vector<std::string> stationNames{std::string()};  // 1..stationCount
    Matrix points;
    std::vector<std::string> pointNames{std::string()};  // 1..n
    std::vector<NetworkObservation> observations;        // row order (0-based)
    std::int32_t pointCount() const { return points.rows(); }
    std::int32_t unknownCount() const { return 3 * (stationCount + pointCount()) - 6; }
};

// The window's boxes as the run writes them; null writes nothing (the silent variant).
class NetworkLog {
  public:
    virtual ~NetworkLog() = default;
    virtual void step(const std::string& line) = 0;     // TextWhatDO, newest on top
    virtual void summary(const std::string& line) = 0;  // TextRUN, newest on top
};

struct NetworkIterationSettings {
    NetworkDatumKind datum = NetworkDatumKind::Chosen;
    double threshold = 0.00001;  // go on while max |x| is this or more
    std::int32_t maxIterations = 50;
    NetworkLog* log = nullptr;
    bool keepIterationLog = true;  // the "x i" / "v i" log for the clipboard
    const bool* stopFlag = nullptr;
    platform::EventPump* events = nullptr;
    // The progress window, opened by the caller: the share of the running iteration's
    // inversion; its Cancel ends the run after the running iteration, as STOP does.
    platform::Progress* progress = nullptr;
};

enum class NetworkRunEnd { Converged, Stopped, NotConverged };

struct NetworkIterationResult {
    NetworkRunEnd end = NetworkRunEnd::NotConverged;
    std::int32_t iterations = 0;
    double maxCorrection = 0.0, sumV = 0.0, sumVV = 0.0;  // of the last iteration
    std::vector<std::int32_t> unknownColumns{0};          // 1..u: the full column of each unknown
    Matrix qxx;                                           // 1..u × 1..u of the last iteration
    std::vector<double> normalDiagonal{0.0};              // N(k, k) of the last iteration
    std::vector<double> residuals{0.0};                   // 1..w, v = A·x − l
    std::string iterationLog;
};

// The most the adjustment allocates for its one u × u matrix.
inline constexpr double kNetworkMatrixByteLimit = 4.0e9;

// The iterations. Checks the size before it allocates (NetworkError when the u × u matrix would
// pass kNetworkMatrixByteLimit).
NetworkIterationResult iterateNetwork(NetworkProblem& problem, const NetworkIterationSettings& settings);

}  // namespace kal
