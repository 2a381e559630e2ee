#pragma once
// The part of the job state that a job file carries, moved from a freshly read job into the
// current one in one step, once the whole file has been read and checked.
#include "shared/JobState.h"

namespace kal {

// Moves every job-file item of `loaded` into `job`: the point sets and counts, use flags,
// parameter states and block (with the offset vector), units, norm, seed points, set and file
// names, view filters, paraboloid profile, saved views, robot modes with their angles and offset
// vectors. Also sets what follows from a loaded job: AutoRecalc off, MCS and OCS not swapped,
// rotation seeds from the loaded rotation, DataLoaded when points are present. Settings,
// recent files and the job's name are left alone.
void adoptJobFileItems(JobState& job, JobState&& loaded);

}  // namespace kal
