#pragma once
// The bounding box of the MCS points as read (untransformed), which sizes the system axes and
// the quaternion vector, and the axis length rule built on it. The box is a scan over every MCS
// point; a window keeps it in an McsExtentsCache and rescans only when the job's points change,
// not on every redraw.
#include <cstdint>
#include <optional>

#include "shared/JobState.h"

namespace kal {

struct McsExtents {
    // An empty MCS leaves the maxima at -1e10 and the minima at 1e10.
    double maxX = -1e10, maxY = -1e10, maxZ = -1e10;
    double minX = 1e10, minY = 1e10, minZ = 1e10;
    // Length of the box's diagonal.
    double diagonal() const;
};

// The box of MCS points 1..McsCount (MaxMinGlobalSys).
McsExtents mcsExtents(const JobState& job);

// Length in millimetres of the OCS and MCS axes for a box diagonal d: d over 10,000,000 counts
// as 50,000; then the integer part of d (toward minus infinity) over 10, rounded with halves to
// even, and 1 where that gives 0. So 15 → 2, 25 → 2, 12,345.6 → 1,234, no MCS point → 5,000.
std::int32_t systemAxisLength(double diagonal);

// The box, computed once per state of the job's points. The key is a counter the window raises
// whenever the points change (points replaced, job reset); invalidate() forces a rescan too.
class McsExtentsCache {
  public:
    const McsExtents& get(const JobState& job, std::uint64_t jobChange);
    void invalidate() { key_.reset(); }

  private:
    std::optional<std::uint64_t> key_;
    McsExtents extents_;
};

}  // namespace kal
