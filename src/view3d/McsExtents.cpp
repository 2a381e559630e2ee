#include "view3d/McsExtents.h"

#include <cmath>

namespace kal {

double extentsDiagonal(const WorldExtents& e) {
    const double dx = e.maxx - e.minx, dy = e.maxy - e.miny, dz = e.maxz - e.minz;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

std::int32_t systemAxisLength(double diagonal) {
    double d = diagonal;
    if (!(d <= 10'000'000)) d = 50'000;  // also a diagonal that is not a number
    const auto length = static_cast<std::int32_t>(std::nearbyint(std::floor(d) / 10));
    return length == 0 ? 1 : length;
}

double McsExtentsCache::diagonal(const JobState& job, std::uint64_t jobChange) {
    if (key_ != jobChange || count_ != job.McsCount) {
        diagonal_ = extentsDiagonal(mcsExtents(job));
        key_ = jobChange;
        count_ = job.McsCount;
    }
    return diagonal_;
}

}  // namespace kal
