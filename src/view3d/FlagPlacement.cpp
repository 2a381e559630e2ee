#include "view3d/FlagPlacement.h"

#include <cmath>
#include <limits>

namespace kal {
namespace {

std::int16_t toInt16(double v) {
    const double r = std::nearbyint(v);  // halves to even
    if (!(r >= std::numeric_limits<std::int16_t>::min())) return std::numeric_limits<std::int16_t>::min();
    if (!(r <= std::numeric_limits<std::int16_t>::max())) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(r);
}

// One axis of the new flag's placement.
double placeAlong(double mouse, double point, int currentSize, int size, int surface, int margin, bool snap,
                  std::int32_t grid, bool placeAtMouse) {
    const double shift = mouse - point >= 0 ? 0.0 : currentSize;
    double v = mouse - shift;
    if (v < 0) v = 0;
    if (surface - size < v) v = surface - size - margin;
    if (snap && grid >= 1) v = std::floor(v / grid) * grid;
    if (placeAtMouse) v = mouse;
    return v;
}

}  // namespace

bool canCreateFlag(const ScreenProperties& view, const PointCloud& cloud, std::int32_t k,
                   bool pixelWithinScreen) {
    if (k < 1 || k > cloud.count()) return false;
    return view.FlagOfPoint[k] == 0 && cloud(k, cloud::Visible) == 1 && pixelWithinScreen;
}

std::int16_t addFlagLayout(ScreenProperties& view, const ScreenProperties& defaultView) {
    const auto n = static_cast<std::int16_t>(view.FahneAnzahl + 1);
    view.FahneAnzahl = n;
    if (view.FahneProps.empty()) view.FahneProps.resize(1);
    view.FahneProps.resize(static_cast<std::size_t>(n) + 1, view.FahneProps.front());
    // A current flag deleted meanwhile (delete-all, a restored view) counts as none.
    const std::int16_t current =
        view.CurrentFahne >= 1 && view.CurrentFahne < n ? view.CurrentFahne : std::int16_t{0};
    FahneRecord record = view.FahneProps[static_cast<std::size_t>(current)];
    if (current == 0) {
        const std::int16_t defaults = defaultView.FahneAnzahl;
        if (defaults < 1 || static_cast<std::size_t>(defaults) >= defaultView.FahneProps.size()) {
            record.ShowActual = record.ShowNominal = true;
            record.showX = record.showY = record.showZ = true;
            record.ShowDev = record.ShowTolCol = true;
            record.ShowLegendeXYZ = record.ShowLegendeName = true;
            record.ShowGrid = true;
        } else {
            record = defaultView.FahneProps[static_cast<std::size_t>(defaults)];
        }
    }
    view.FahneProps[static_cast<std::size_t>(n)] = record;
    return n;
}

FlagCorner placeNewFlag(const NewFlagPlacement& in) {
    return {toInt16(placeAlong(in.MouseX, in.pointX, in.currentWidth, in.width, in.surfaceWidth, 10, in.snap,
                               in.GridLength, in.placeAtMouse)),
            toInt16(placeAlong(in.MouseY, in.pointY, in.currentHeight, in.height, in.surfaceHeight, 20,
                               in.snap, in.GridLength, in.placeAtMouse))};
}

FlagCorner dropFlag(float x, float y, float grabX, float grabY, bool snap, std::int32_t GridLength) {
    double top = std::nearbyint(static_cast<double>(y) - grabY);
    double left = std::nearbyint(static_cast<double>(x) - grabX);
    if (top < 0) top = 0;
    if (left < 0) left = 0;
    if (snap && GridLength >= 1) {
        top = std::floor((top + 1) / GridLength) * GridLength;
        left = std::floor((left + 1) / GridLength) * GridLength;
    }
    return {toInt16(left), toInt16(top)};
}

std::int32_t rowOfFlag(const ScreenProperties& view, std::int16_t flag, std::int32_t rowCount) {
    if (flag == 0) return 0;
    for (const auto& [row, number] : view.FlagOfPoint.flaggedRows())
        if (number == flag && row >= 1 && row <= rowCount) return row;
    return 0;
}

}  // namespace kal
