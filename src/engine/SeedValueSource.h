#pragma once
// The calculation window's seed and fixed values. The seed solution hands the raw parameters to
// it at its end, and it overwrites each parameter for which the window holds a seed value or a
// fixed value (converted from display units), then refreshes the working copy of the rotation.
#include "shared/JobState.h"

namespace kal {

class SeedValueSource {
  public:
    virtual ~SeedValueSource() = default;
    // (GetSeed)
    virtual void applySeed(JobState& job) = 0;
};

}  // namespace kal
