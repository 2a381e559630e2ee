#pragma once
// Building the table of drawable points from the job (Grafik_Festlegen). Rows, in this order:
// 1..n the transformed MCS sides of the identical points, n+1..2n their OCS sides (both named
// with the OCS name), then the MCS-only and the OCS-only points. A row is always a cloud row,
// never a main-sheet row. Counts are 32-bit: a job of any size is built whole.
#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"
#include "view3d/RedrawStages.h"

namespace kal {

// Fills `cloud` from the job's point sets with the view filters of job.GraphicsFlags, resizes
// the view's FlagOfPoint to the new rows (flags of rows that remain stay, even when the row now
// holds another point), classifies and colours through `colouring`, and writes the deviations
// (columns 13..15) and their 3-D lengths (column 4) of the identical points. The view
// coordinates are the caller's next step (projectCloud), as the window's load does.
// Arrays shorter than their counts say are read as far as they go (missing values 0, names
// empty), so a damaged job never reads out of bounds.
void buildPointCloud(PointCloud& cloud, const JobState& job, ScreenProperties& view,
                     const CloudColouring& colouring = {});

// The number of cloud rows the job's points give, and the name of the point in cloud row `row`
// (1..that number; "" outside), in the order buildPointCloud puts them.
std::int32_t cloudRowCount(const JobState& job);
std::string cloudRowName(const JobState& job, std::int32_t row);

}  // namespace kal
