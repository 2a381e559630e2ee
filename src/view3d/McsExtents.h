#pragma once
// The axis length rule on the bounding box of the MCS points as read (mcsExtents,
// MaxMinGlobalSys), which sizes the system axes and the quaternion vector. The box is a scan
// over every MCS point; a window keeps it in an McsExtentsCache and rescans only when the job's
// points change, not on every redraw.
#include <cstdint>
#include <optional>

#include "shared/JobState.h"
#include "view3d/CloudProjection.h"

namespace kal {

// Length of the box's diagonal; an empty MCS (maxima −1e10, minima 1e10) gives about 3.5e10.
double extentsDiagonal(const WorldExtents& e);

// Length in millimetres of the OCS and MCS axes for a box diagonal d: d over 10,000,000 counts
// as 50,000; then the integer part of d (toward minus infinity) over 10, rounded with halves to
// even, and 1 where that gives 0. So 15 → 2, 25 → 2, 12,345.6 → 1,234, no MCS point → 5,000.
std::int32_t systemAxisLength(double diagonal);

// The box's diagonal, computed once per state of the job's points. The key is a counter the
// window raises whenever the points change (points replaced, job reset); invalidate() forces a
// rescan too, and so does a change of McsCount, so a window that misses an event never draws
// axes sized for another point set.
class McsExtentsCache {
  public:
    double diagonal(const JobState& job, std::uint64_t jobChange);
    void invalidate() { key_.reset(); }

  private:
    std::optional<std::uint64_t> key_;
    std::int32_t count_ = 0;
    double diagonal_ = 0;
};

}  // namespace kal
