#pragma once
// The network adjustment as the network window's two buttons run it.
//
// Calculate (CalcBuendel): StopFlag is cleared; the network is checked before the first
// iteration (at least three stations, unique names, every distance above 0, a percentage with
// 0 < r ≤ 100 that chooses at least one point, every used point measured from three stations or
// more, more distances than unknowns, no station on a point), each refusal naming its cause;
// then it iterates (NetworkAdjustment.h) with the chosen datum, up to the cap. A converged or
// stopped run puts its iteration log on the clipboard, writes "BündelOCS.txt" (the coordinates
// as they stood at the start) and "BündelMCS.txt" (the adjusted ones) atomically into the data
// folder, loads them as the job's MCS and OCS through the normal point load (its overwrite
// question, job reset and use flags kept by name; the job is dirty after), and lists the
// adjusted coordinates with their standard deviations and the residuals. A refusal, a failure,
// "not converged" or a load that does not happen writes nothing and leaves the job's points and
// the stations as they were.
//
// The fixed-datum variant (Command1) runs the same engine on the fixed datum with the threshold
// 0.000001, silently: no log, no file, no clipboard, no points; what lasts is the adjusted
// station table. It lets events through and stops on StopFlag and at the cap as well.
#include <cstdint>
#include <string>

#include "input/PointLoad.h"
#include "network/NetworkAdjustment.h"
#include "platform/Clipboard.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kNetworkOcsFile = "B\xC3\xBCndelOCS.txt";
inline constexpr const char* kNetworkMcsFile = "B\xC3\xBCndelMCS.txt";
inline constexpr std::int32_t kNetworkIterationCap = 50;

// The window's boxes as the run writes them.
class NetworkView : public NetworkLog {
  public:
    virtual void clearSummary() = 0;                        // TextRUN emptied at the start
    virtual void showResults(const std::string& text) = 0;  // TextResults replaced
};

struct NetworkServices {
    platform::Prompter* prompter = nullptr;  // required
    platform::EventPump* events = nullptr;
    platform::Clipboard* clipboard = nullptr;
    platform::Progress* progress = nullptr;  // shown while the iterations run
    NetworkView* view = nullptr;
    std::string dataFolder;  // where the two result files go (created when missing)
    PointLoadServices load;  // the normal point load's services (prompter set from above)
    std::int32_t maxIterations = kNetworkIterationCap;
};

enum class NetworkRunStatus {
    Loaded,        // converged or stopped; results written, loaded and listed
    Adjusted,      // the variant converged or was stopped: the stations are adjusted
    Refused,       // a check before the first iteration said no (its message was shown)
    Failed,        // the stations in one line, a station on a point, a non-finite value, a file
    NotConverged,  // the cap was reached
    NotLoaded,     // the load declined or refused the results
};

struct NetworkRunOutcome {
    NetworkRunStatus status = NetworkRunStatus::Refused;
    NetworkRunEnd end = NetworkRunEnd::NotConverged;
    std::int32_t iterations = 0;
    std::int32_t unknowns = 0, observations = 0;
    double s0 = 0.0;
    std::string listing;  // TextResults
};

// (CalcBuendel) `reduceText` is the text of TextReduce.
NetworkRunOutcome calculateNetwork(JobState& job, const std::string& reduceText,
                                   const NetworkServices& services);

// (Command1_Click) The fixed-datum variant.
NetworkRunOutcome runFixedDatumVariant(JobState& job, const std::string& reduceText,
                                       const NetworkServices& services);

// The result file text: one "name Tab x Tab y Tab z" line per station, then per used point, CR LF
// ends, numbers in the general form with the regional separator.
std::string networkPointFileText(const std::vector<std::string>& stationNames, const Matrix& stations,
                                 std::int32_t stationCount, const std::vector<std::string>& pointNames,
                                 const Matrix& points);

}  // namespace kal
