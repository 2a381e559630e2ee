#include "view3d/LineChains.h"

#include <algorithm>

namespace kal {
namespace {

// The segment table as its upper bounds say, however the record was sized (a never-sized or
// foreign-sized table counts as empty beyond its bounds).
std::int32_t segmentSlots(const ScreenProperties& view) {
    return view.Lines.rows() >= 2 ? view.Lines.cols() : 0;
}

void resizeKeeping(Matrix& lines, std::int32_t count) {
    Matrix resized(2, count);
    const std::int32_t keep = std::min(count, lines.rows() >= 2 ? lines.cols() : 0);
    for (std::int32_t k = 1; k <= keep; ++k) {
        resized(1, k) = lines(1, k);
        resized(2, k) = lines(2, k);
    }
    lines = std::move(resized);
}

}  // namespace

void addLineStep(ScreenProperties& view, std::int32_t picked) {
    if (picked <= 0) return;
    if (view.LineStartPoint == 0) {
        view.LineStartPoint = picked;
        return;
    }
    const std::int32_t count = std::max(view.LineCount, 0) + 1;
    resizeKeeping(view.Lines, count);
    view.LineCount = count;
    view.Lines(1, count) = view.LineStartPoint;
    view.Lines(2, count) = picked;
    view.LineStartPoint = picked;
}

bool deleteSelectedLine(ScreenProperties& view, std::int32_t& selectedLine) {
    const std::int32_t count = std::min(view.LineCount, segmentSlots(view));
    if (count <= 0 || selectedLine < 1 || selectedLine > count) return false;
    for (std::int32_t k = selectedLine; k < count; ++k) {
        view.Lines(1, k) = view.Lines(1, k + 1);
        view.Lines(2, k) = view.Lines(2, k + 1);
    }
    resizeKeeping(view.Lines, count - 1);
    view.LineCount = count - 1;
    selectedLine = selectedLine - 1 == 0 ? 1 : selectedLine - 1;
    return true;
}

std::int32_t segmentUnderMouse(const ScreenProperties& view, const ViewArrays& arrays, float x, float y) {
    const std::int32_t slots = segmentSlots(view);
    const std::int32_t rows = arrays.rows();
    for (std::int32_t u = 1; u <= slots; ++u) {
        const auto r1 = static_cast<std::int32_t>(view.Lines(1, u));
        const auto r2 = static_cast<std::int32_t>(view.Lines(2, u));
        if (r1 < 1 || r2 < 1 || r1 > rows || r2 > rows) continue;
        const double x1 = arrays.PixelX[static_cast<std::size_t>(r1)],
                     y1 = arrays.PixelY[static_cast<std::size_t>(r1)];
        const double x2 = arrays.PixelX[static_cast<std::size_t>(r2)],
                     y2 = arrays.PixelY[static_cast<std::size_t>(r2)];
        const double ex = x2 - x1, ey = y2 - y1;
        const double length2 = ex * ex + ey * ey;
        if (!(length2 > 0)) continue;
        // Foot parameter t along P1→P2 and the distance to the foot point, computed directly:
        // the triangle-height route fails on collinear mouse positions.
        const double t = ((x - x1) * ex + (y - y1) * ey) / length2;
        if (!(t > 0 && t < 1)) continue;
        const double fx = x1 + t * ex - x, fy = y1 + t * ey - y;
        if (fx * fx + fy * fy < 15.0 * 15.0) return u;
    }
    return 0;
}

}  // namespace kal
