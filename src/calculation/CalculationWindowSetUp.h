#pragma once
// What the calculation window brings back from the job when it opens (INI_Formtrafoberechnung),
// on its parameter panel: the norm, the parameter rows of the last calculation (or the
// 6-parameter start of a job without one), the use flags of a job that uses no point, automatic
// recalculation, and the paraboloid restrictions. No step calculates, also with automatic
// recalculation on.
//
// In paraboloid mode the OCS are foot points on the surface: L1, Loo and the direction switch
// (which would exchange the MCS with the foot points) stay disabled after the set-up, and so does
// "R Dist.".
#include "calculation/ParameterPanel.h"
#include "shared/JobState.h"

namespace kal {

struct SetUpOutcome {
    bool useFlagsSwitchedOn = false;  // every point was unused and is now used
};

// The set-up of a panel in its design state. Also makes TrafoFormGeladen true, Monte Carlo off
// (MonteCarloOn, StopFlag false) and a NormMode outside 1..3 into 2 (L2).
SetUpOutcome setUpCalculationPanel(JobState& job, ParameterPanel& panel);

}  // namespace kal
