#include "view3d/ViewRecordCopy.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace kal {

namespace {

// The hiding plane's matrix is a fixed 0..3 by 0..3 array of which only (1..3, 1..3) is a view's:
// copies `from`'s block into `to`, whose row 0 and column 0 stay as they are.
void copyPlaneBlock(const Matrix& from, Matrix& to) {
    if (to.rows() < 3 || to.cols() < 3) {
        Matrix sized(3, 3);
        for (std::int32_t i = 0; i <= to.rows() && i <= 3; ++i)
            for (std::int32_t j = 0; j <= to.cols() && j <= 3; ++j) sized(i, j) = to(i, j);
        to = std::move(sized);
    }
    for (std::int32_t i = 1; i <= 3; ++i)
        for (std::int32_t j = 1; j <= 3; ++j)
            to(i, j) = (i <= from.rows() && j <= from.cols()) ? from(i, j) : 0.0;
}

// Copies every field of `from` into `to` except PlaneMatrix, whose (1..3, 1..3) block alone is
// copied. Plain assignment reuses `to`'s buffers (strings, vectors, the flag map's nodes).
void copyRecord(const ScreenProperties& from, ScreenProperties& to) {
    Matrix plane = std::move(to.PlaneMatrix);
    to = from;
    copyPlaneBlock(from.PlaneMatrix, plane);
    to.PlaneMatrix = std::move(plane);
}

bool insideCloud(double row, std::int32_t pointCloudCount) { return row >= 1 && row <= pointCloudCount; }

// Leaves out the segments with an end outside the cloud; the others keep their order.
void keepSegmentsInsideCloud(ScreenProperties& view, std::int32_t pointCloudCount) {
    const Matrix& lines = view.Lines;
    const std::int32_t stored = lines.rows() >= 2 ? std::min(view.LineCount, lines.cols()) : 0;
    std::int32_t kept = 0;
    for (std::int32_t k = 1; k <= stored; ++k)
        if (insideCloud(lines(1, k), pointCloudCount) && insideCloud(lines(2, k), pointCloudCount)) ++kept;
    if (kept != view.LineCount) {
        Matrix fitted(2, kept);
        for (std::int32_t i = 0; i <= 2; ++i) fitted(i, 0) = lines(i, 0);
        std::int32_t to = 0;
        for (std::int32_t k = 1; k <= stored; ++k) {
            if (!insideCloud(lines(1, k), pointCloudCount) || !insideCloud(lines(2, k), pointCloudCount))
                continue;
            ++to;
            for (std::int32_t i = 0; i <= 2; ++i) fitted(i, to) = lines(i, k);
        }
        view.Lines = std::move(fitted);
        view.LineCount = kept;
    }
    if (view.LineStartPoint < 0 || view.LineStartPoint > pointCloudCount) view.LineStartPoint = 0;
}

}  // namespace

std::int16_t twipsToRecordField(double twips) {
    if (!std::isfinite(twips)) return 0;
    const double rounded = std::nearbyint(twips);  // the default rounding mode: halves to even
    if (rounded > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (rounded < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(rounded);
}

void storeViewInRecord(const ScreenProperties& window, WindowSizeTwips outer, ScreenProperties& slot) {
    copyRecord(window, slot);
    slot.WindowWidth = twipsToRecordField(outer.width);
    slot.WindowHeight = twipsToRecordField(outer.height);
}

void restoreViewFromRecord(const ScreenProperties& record, ScreenProperties& window) {
    const std::int16_t width = window.WindowWidth;
    const std::int16_t height = window.WindowHeight;
    copyRecord(record, window);
    window.WindowWidth = width;
    window.WindowHeight = height;
}

WindowSizeTwips restoreViewFromSavedView(const ScreenProperties& saved, ScreenProperties& window,
                                         std::int32_t pointCloudCount) {
    const std::int16_t currentFlag = window.CurrentFahne;
    restoreViewFromRecord(saved, window);
    window.CurrentFahne = currentFlag;
    const std::int32_t rows = pointCloudCount < 0 ? 0 : pointCloudCount;
    window.FlagOfPoint.resize(rows);
    keepSegmentsInsideCloud(window, rows);
    return {static_cast<double>(saved.WindowWidth), static_cast<double>(saved.WindowHeight)};
}

bool takeDefaultDisplaySettings(const ScreenProperties& d, ScreenProperties& w) {
    if (d.ADis == 0) return false;
    w.VectorMode = d.VectorMode;
    w.BigNess = d.BigNess;
    w.Vec_Massstab = d.Vec_Massstab;
    w.GridLength = d.GridLength;
    w.AnzKlassenPos = d.AnzKlassenPos;
    w.AnzKlassenNeg = d.AnzKlassenNeg;
    w.AusserhalbTol = d.AusserhalbTol;
    w.Min = d.Min;
    w.Max = d.Max;
    w.showVeX = d.showVeX;
    w.showVeY = d.showVeY;
    w.showVeZ = d.showVeZ;
    w.ColorBased = d.ColorBased;
    w.ShowOnlyUsedComponent = d.ShowOnlyUsedComponent;
    w.OuterColor = d.OuterColor;
    w.CS_Type = d.CS_Type;
    w.BinaerModus = d.BinaerModus;
    w.GridXY = d.GridXY;
    w.GridYZ = d.GridYZ;
    w.GridZX = d.GridZX;
    w.ADis = d.ADis;
    w.BDis = d.BDis;
    w.Cdis = d.Cdis;
    w.ShowGridDim = d.ShowGridDim;
    return true;
}

std::optional<FahneRecord> defaultFlagLayout(const ScreenProperties& defaults) {
    if (defaults.FahneAnzahl <= 0) return std::nullopt;
    const auto index = static_cast<std::size_t>(defaults.FahneAnzahl);
    if (index >= defaults.FahneProps.size()) return std::nullopt;
    return defaults.FahneProps[index];
}

}  // namespace kal
