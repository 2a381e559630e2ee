#pragma once
// A small cloud whose rows sit at given pixels, every row shown and visible.
#include <vector>

#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal::test {

struct PixelScene {
    PointCloud cloud;
    ViewArrays arrays;

    explicit PixelScene(const std::vector<std::pair<float, float>>& pixels) {
        const auto n = static_cast<std::int32_t>(pixels.size());
        cloud.reset(n);
        arrays.resize(n);
        for (std::int32_t i = 1; i <= n; ++i) {
            cloud(i, cloud::Shown) = 1;
            cloud(i, cloud::Visible) = 1;
            cloud.name(i) = "P" + std::to_string(i);
            arrays.PixelX[static_cast<std::size_t>(i)] = pixels[static_cast<std::size_t>(i - 1)].first;
            arrays.PixelY[static_cast<std::size_t>(i)] = pixels[static_cast<std::size_t>(i - 1)].second;
        }
    }
    void hide(std::int32_t row) { cloud(row, cloud::Visible) = 0; }
};

}  // namespace kal::test
