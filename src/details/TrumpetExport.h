#pragma once
// The pair export of the distance analysis (BtnSaveTrumpetData_Click): one line per unordered pair
// of identical points, i ascending, then j ascending, n(n-1)/2 lines without a header. Each line:
// name of i, Tab, name of j, Tab, DistMCS, Tab, DistOCS, Tab, DeltaS, CR LF. The two distances are
// in millimetres as the general text of a single (seven significant digits, the user's decimal
// separator); delta s is multiplied by LengthFactor and written with LengthFormat, so the file
// mixes units as users' tools expect.
//
// The lines are computed from the analysis's snapshot (its own point count, whatever the job holds
// now) and written in chunks of a quarter megabyte through an atomic save: 5 * 10^7 lines (about
// 2 GB) at 10^4 points never sit in memory, and a failed or stopped export leaves the old file as
// it was. Between chunks events are let through and Stop is honoured.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "details/DistanceAnalysis.h"
#include "details/ExportServices.h"
#include "platform/EventPump.h"
#include "platform/Progress.h"

namespace kal {

inline constexpr const char* kTrumpetExportCaption = "Save Trumped Data";

// The line of the pair (i, j) of `points` (1-based, i < j), with its CR LF.
void appendTrumpetExportLine(std::string& out, const DistanceSnapshot& points, std::int32_t i, std::int32_t j,
                             double lengthFactor, const std::string& lengthFormat);

struct TrumpetExportServices {
    ExportServices exports;  // prompter, file dialogs, the busy pointer
    platform::EventPump* events = nullptr;
    platform::Progress* progress = nullptr;
    std::chrono::milliseconds interval{40};
    std::size_t chunkBytes = std::size_t{256} << 10;
};

// Writes the pairs of `points` to `path` atomically; Written, Cancelled (Stop: nothing changed) or
// Failed (a message said why).
ExportOutcome writeTrumpetPairs(const std::string& path, const DistanceSnapshot& points, double lengthFactor,
                                const std::string& lengthFormat, const TrumpetExportServices& services);

// The whole command: the save dialog (no filter, no default extension), the replace question for
// an existing file, then the write.
ExportOutcome exportTrumpetPairs(const DistanceSnapshot& points, double lengthFactor,
                                 const std::string& lengthFormat, const TrumpetExportServices& services);

}  // namespace kal
