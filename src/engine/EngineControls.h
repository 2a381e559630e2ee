#pragma once
// The calculation window's control states that the engine reads, taken as one snapshot when a
// calculation starts. The window keeps its parameter rows disabled while a calculation runs, so
// one snapshot gives what reading the controls in every iteration would give. Check-box values
// are 1 (ticked) or 0 (not ticked); 2 (greyed) counts as not ticked wherever 1 is asked for.
namespace kal {

struct EngineControls {
    // "R Dist." and "use ABC" estimate boxes.
    int CheckRDist = 0;
    int CheckUseABC = 0;
    // Enabled state of the R Dist value box: enabled in the R Dist mode, disabled in the use-ABC mode.
    bool TextRDistEnabled = true;
    // Seed check boxes of the three axis scales and the three shape angles: a ticked box keeps the
    // parameter's current value as its start value.
    int CheckSeedScalex = 0;
    int CheckSeedScaley = 0;
    int CheckSeedScalez = 0;
    int CheckSeedxy = 0;
    int CheckSeedAzimuth = 0;
    int CheckSeedztoxy = 0;
};

}  // namespace kal
