#pragma once
// The MCS points that have no partner in the OCS (indices IdenticalCount + 1 .. McsCount), as they
// stand in the transformed set, written beside the job file as an ASCII point file: name, Tab, x,
// Tab, y, Tab, z, CR LF per point, coordinates in the display length unit with the pattern
// LengthFormat and the user's decimal separator, so that the program's own reader takes the file
// back. UTF-8, no header. The text is built in one buffer and written once: about 40 bytes a point.
#include <string>

#include "details/ExportServices.h"
#include "shared/JobState.h"

namespace kal {

// The target of a job file: its last four characters replaced by ".txt" when they are a
// three-letter extension (".dat", ".tfo"), else ".txt" appended. "" for a job without a name.
std::string mcsOnlyFileName(const std::string& jobFile);

// The lines of the MCS-only points; "" when there are none.
std::string mcsOnlyFileBytes(const JobState& job);

// The whole export (MenueOnlyMCStoTilde_Click).
ExportOutcome exportMcsOnlyPoints(const JobState& job, const ExportServices& services);

}  // namespace kal
