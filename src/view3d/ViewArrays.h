#pragma once
// What the projection of one graphics window gives for each row of the point cloud: view
// coordinates, the turned deviation vectors and the pixel positions, with the extents of the
// view. Every window owns its own arrays, so picking and flag placement in one window never
// read the pixels of another window's redraw. Arrays are indexed by the cloud row 0..n (row 0 unused).
#include <cstdint>
#include <vector>

namespace kal {

struct ViewArrays {
    // ViewCoords columns 1 (horizontal), 2 (vertical), 3 (depth).
    std::vector<float> ViewX, ViewY, ViewZ;
    // Vectors2D: the deviation vector turned into the view, horizontal and vertical.
    std::vector<float> VectorViewX, VectorViewY;
    std::vector<float> PixelX, PixelY, PixelZ;
    std::vector<float> VectorPixelX, VectorPixelY;

    float ViewMinX = 0, ViewMaxX = 0, ViewMinY = 0, ViewMaxY = 0, ViewMinZ = 0, ViewMaxZ = 0;

    // Sizes every array to rows 0..n, reusing the storage of earlier redraws.
    void resize(std::int32_t n) {
        const auto size = static_cast<std::size_t>(n < 0 ? 0 : n) + 1;
        for (auto* array : {&ViewX, &ViewY, &ViewZ, &VectorViewX, &VectorViewY, &PixelX, &PixelY, &PixelZ,
                            &VectorPixelX, &VectorPixelY})
            array->assign(size, 0.0f);
    }
    std::int32_t rows() const { return PixelX.empty() ? 0 : static_cast<std::int32_t>(PixelX.size()) - 1; }
};

// The origin the view turns about (the rotate-about command): the negated origin point is added
// to every world point before it is turned. All zero until the first recentring.
struct ViewOrigin {
    std::int32_t OriginPointIndex = 0;
    bool RecentreFlag = false;
    float OriginX = 0, OriginY = 0, OriginZ = 0;
    double OriginShiftX = 0, OriginShiftY = 0, OriginShiftZ = 0;
};

}  // namespace kal
