#include "view3d/McsExtents.h"

#include <algorithm>
#include <cmath>

namespace kal {

double McsExtents::diagonal() const {
    const double dx = maxX - minX, dy = maxY - minY, dz = maxZ - minZ;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

McsExtents mcsExtents(const JobState& job) {
    McsExtents e;
    const std::int32_t n = std::min({job.McsCount, job.MCS_X.upper(), job.MCS_Y.upper(),
                                     static_cast<std::int32_t>(job.MCS_Z.size()) - 1});
    for (std::int32_t i = 1; i <= n; ++i) {
        const double x = job.MCS_X[i], y = job.MCS_Y[i], z = job.MCS_Z[static_cast<std::size_t>(i)];
        if (x > e.maxX) e.maxX = x;
        if (x < e.minX) e.minX = x;
        if (y > e.maxY) e.maxY = y;
        if (y < e.minY) e.minY = y;
        if (z > e.maxZ) e.maxZ = z;
        if (z < e.minZ) e.minZ = z;
    }
    return e;
}

std::int32_t systemAxisLength(double diagonal) {
    double d = diagonal;
    if (!(d <= 10'000'000)) d = 50'000;  // also a diagonal that is not a number
    const auto length = static_cast<std::int32_t>(std::nearbyint(std::floor(d) / 10));
    return length == 0 ? 1 : length;
}

const McsExtents& McsExtentsCache::get(const JobState& job, std::uint64_t jobChange) {
    if (key_ != jobChange) {
        extents_ = mcsExtents(job);
        key_ = jobChange;
    }
    return extents_;
}

}  // namespace kal
