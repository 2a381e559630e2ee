#include "view3d/PointPicking.h"

#include <algorithm>

namespace kal {
namespace {

inline float squaredDistance(float xp, float yp, float px, float py) {
    const double dx = static_cast<double>(xp) - px;
    const double dy = static_cast<double>(yp) - py;
    return static_cast<float>(dx * dx + dy * dy);
}

}  // namespace

std::int32_t searchPointIndex(const PointCloud& cloud, const ViewArrays& arrays, std::int32_t identicalCount,
                              float xp, float yp, std::int32_t index) {
    const std::int32_t last = std::min(cloud.count(), arrays.rows());
    float best = kPickRadiusSquared;
    for (std::int32_t i = 1; i <= last; ++i) {
        if (cloud(i, cloud::Shown) == 0 || cloud(i, cloud::Visible) == 0) continue;
        const float d = squaredDistance(xp, yp, arrays.PixelX[static_cast<std::size_t>(i)],
                                        arrays.PixelY[static_cast<std::size_t>(i)]);
        // Row 1 always qualifies: the bound only applies while it is not a candidate.
        if (i == 1 || d < best) {
            index = i;
            best = d;
        }
    }
    return partnerRow(index, identicalCount);
}

void PickIndex::rebuild(const PointCloud& cloud, const ViewArrays& arrays) {
    rows_.clear();
    x_.clear();
    y_.clear();
    const std::int32_t last = std::min(cloud.count(), arrays.rows());
    for (std::int32_t i = 1; i <= last; ++i) {
        if (cloud(i, cloud::Shown) == 0 || cloud(i, cloud::Visible) == 0) continue;
        rows_.push_back(i);
        x_.push_back(arrays.PixelX[static_cast<std::size_t>(i)]);
        y_.push_back(arrays.PixelY[static_cast<std::size_t>(i)]);
    }
}

std::int32_t PickIndex::search(std::int32_t identicalCount, float xp, float yp, std::int32_t index) const {
    const std::size_t n = rows_.size();
    std::size_t k = 0;
    float best = kPickRadiusSquared;
    std::size_t bestAt = n;
    if (n > 0 && rows_[0] == 1) {
        best = squaredDistance(xp, yp, x_[0], y_[0]);
        bestAt = 0;
        k = 1;
    }
    for (; k < n; ++k) {
        const float d = squaredDistance(xp, yp, x_[k], y_[k]);
        if (d < best) {
            best = d;
            bestAt = k;
        }
    }
    if (bestAt < n) index = rows_[bestAt];
    return partnerRow(index, identicalCount);
}

}  // namespace kal
