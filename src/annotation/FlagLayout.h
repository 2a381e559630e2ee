#pragma once
// Putting flags on all visible points of a graphics window in one go, by one of four rules:
// close to each point, on a ray from the centre of the points, where that ray leaves the
// picture, or at the picture border nearest to each point. The two border rules keep flags
// apart by placing them in free cells of a grid of flag-sized cells.
#include <cstdint>
#include <functional>
#include <string>

#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal {

enum class FlagPlacement : std::uint8_t { CloseToPoint, Radial, ScreenBorder, NextToBorder };

inline constexpr const char* kScreenFullMessage = "screen is full, make more views for your flags";

struct FlagLayoutInput {
    int surfaceWidth = 0;  // W, H of the drawing surface
    int surfaceHeight = 0;
    int flagWidth = 0;  // fw, fh: the current flag's size, the cell size
    int flagHeight = 0;
    FlagPlacement placement = FlagPlacement::CloseToPoint;
    double radialFactor = 1.1;  // f of the radial rule
    int flagOnEvery = 1;        // every how many rows (below 1 acts as 1)
    std::int32_t identicalCount = 0;
};

// The grid of cells one layout run works in: C = ⌊W / fw⌋ columns, R = ⌊H / fh⌋ rows, and the
// border extents Wb = W − 15, Hb = H − 10.
struct FlagCellGrid {
    int columns = 0;
    int rows = 0;
    int borderWidth = 0;
    int borderHeight = 0;
};
FlagCellGrid flagCellGrid(const FlagLayoutInput& in);

// Creates the flag for a row at a click position (the window's flag-mode click); returns
// whether a flag was made (a row with a flag, hidden or outside the picture gets none).
using PutFlagAt = std::function<bool(std::int32_t row, float x, float y)>;

struct FlagLayoutOutcome {
    int flagsPut = 0;
    bool screenFull = false;  // the caller shows kScreenFullMessage once
};

// FlagPutAll over the shown and visible rows of `cloud` (the OCS sides of identical points get
// no flag). Flags already on the window are not entered in the cell grid.
FlagLayoutOutcome putFlagsOnAllPoints(const FlagLayoutInput& in, const PointCloud& cloud,
                                      const ViewArrays& view, const PutFlagAt& putFlag);

}  // namespace kal
