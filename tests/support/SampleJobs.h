#pragma once
// Jobs for tests: point sets matched as the loading flow leaves them (identical pairs first),
// with every kind of content a job file carries when asked.
#include <cstdint>
#include <string>

#include "shared/JobState.h"

namespace kal::testing {

// `identical` pairs, then `mcsOnly` and `ocsOnly` unmatched points; names "P1", "P2", ...;
// coordinates derived from the index; use flags 1; MCSt a copy of the MCS points.
JobState makePointJob(std::int32_t identical, std::int32_t mcsOnly = 0, std::int32_t ocsOnly = 0);

// A job with every item filled: parameter states and block (R Dist and offset vector), units,
// seed points, names, view filters, paraboloid profile, two saved views with flags and lines,
// robot angles and offset vectors, and a non-ASCII name.
JobState makeFullJob();

// Two ASCII point files read and matched by name, as a load with "." as the separator gives them:
// units mm and degrees (3 and 4 digits), the L2 norm, MCS to OCS; no parameters set.
JobState makeJobFromPointFiles(const std::string& mcsPath, const std::string& ocsPath);

// The demo job of examples/: the demo cell's point files (cell-mcs.txt, cell-ocs.txt in
// `examplesFolder`) read and matched by name, with the cell's transformation as parameters, units
// mm and degrees, and one saved view.
JobState makeDemoJob(const std::string& examplesFolder);

// The demo job's saved view "Overview", made on the demo's own points after a calculation: the
// whole cell in the Iso view with its vectors, the floor outline as lines and a flag on P5, in a
// window of 616 x 460 pixels.
ScreenProperties makeDemoOverview(const JobState& demo);

// A saved view with flags on some cloud rows, two flag layouts and `lines` line segments.
ScreenProperties makeView(int seed, std::int32_t lines = 2);

}  // namespace kal::testing
