#include "view3d/QuaternionOverlay.h"

#include <exception>

#include "shared/Matrix.h"
#include "shared/Rotations.h"
#include "view3d/StandardPalette.h"

namespace kal {

void drawQuaternionAxis(DisplayList& list, const ViewProjection& projection, double rotX, double rotY,
                        double rotZ, std::int32_t axisLength, const PointMapper& mcsToOcs, bool showLabels,
                        const PlaceLabel& placeLabel) {
    if (!mcsToOcs) return;
    Matrix R(3, 3), Q(8, 1);
    matFromAnglesXYZ(rotX, rotY, rotZ, R);
    quaternionFromMat(R, Q);
    const double length = 2.0 * axisLength;
    double x0, y0, z0, x1, y1, z1;
    try {
        mcsToOcs(0, 0, 0, x0, y0, z0);
        mcsToOcs(length * Q(6, 1), length * Q(7, 1), length * Q(8, 1), x1, y1, z1);
    } catch (const std::exception&) {
        return;
    }
    const ViewPoint a = projection.worldToPixel(x0, y0, z0), b = projection.worldToPixel(x1, y1, z1);
    const PixelPoint start{static_cast<float>(a.x), static_cast<float>(a.y)};
    const PixelPoint end{static_cast<float>(b.x), static_cast<float>(b.y)};
    addSegment(list, start, end, 1, paletteColour(palette::LightMagenta), PenStyle::DashDot);
    if (showLabels && placeLabel) placeLabel(list, "Quaternion Vector", end.x + 5, end.y + 5);
}

}  // namespace kal
