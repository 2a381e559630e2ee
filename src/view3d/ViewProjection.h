#pragma once
// The orthographic view of one graphics window: world point (mm, OCS frame) → view coordinates
// → pixels of the drawing surface, and back. A world point first gets the origin shifts of the
// rotate-about command added, then turns by the window's three view angles:
//   u = M·p, M the transpose of Rx(a1)·Ry(a2)·Rz(a3),
//   view x = u1 + 200, view y = 200 − u2, depth = −u3,
//   pixel column = Massstab·view x + OffsetX, pixel row = H − (Massstab·view y + OffsetY),
//   scaled depth = Massstab·depth,
// so world y points up the screen and OffsetY counts from the bottom edge upwards.
#include <cmath>

#include "view3d/ViewArrays.h"

namespace kal {

struct ViewPoint {
    double x = 0;  // pixel column (or view x)
    double y = 0;  // pixel row (or view y)
    double z = 0;  // scaled depth (or depth)
};

class ViewProjection {
  public:
    ViewProjection() = default;
    // a1..a3 are ViewAngles (1, 1..3) in radians; height is the drawing surface's in pixels.
    ViewProjection(double a1, double a2, double a3, float massstab, float offsetX, float offsetY, int height,
                   const ViewOrigin& origin = {})
        : massstab_(massstab),
          offsetX_(offsetX),
          offsetY_(offsetY),
          height_(height),
          shiftX_(origin.OriginShiftX),
          shiftY_(origin.OriginShiftY),
          shiftZ_(origin.OriginShiftZ) {
        const double c1 = std::cos(a1), s1 = std::sin(a1);
        const double c2 = std::cos(a2), s2 = std::sin(a2);
        const double c3 = std::cos(a3), s3 = std::sin(a3);
        m_[0][0] = c2 * c3;
        m_[0][1] = c1 * s3 + s1 * s2 * c3;
        m_[0][2] = s1 * s3 - c1 * s2 * c3;
        m_[1][0] = -c2 * s3;
        m_[1][1] = c1 * c3 - s1 * s2 * s3;
        m_[1][2] = s1 * c3 + c1 * s2 * s3;
        m_[2][0] = s2;
        m_[2][1] = -s1 * c2;
        m_[2][2] = c1 * c2;
    }

    // The turned point without shifts: view x, view y, depth (ViewCoords columns 1..3).
    ViewPoint worldToView(double x, double y, double z) const {
        const double u1 = m_[0][0] * x + m_[0][1] * y + m_[0][2] * z;
        const double u2 = m_[1][0] * x + m_[1][1] * y + m_[1][2] * z;
        const double u3 = m_[2][0] * x + m_[2][1] * y + m_[2][2] * z;
        return {u1 + 200.0, 200.0 - u2, -u3};
    }
    ViewPoint viewToPixel(const ViewPoint& v) const {
        return {massstab_ * v.x + offsetX_, height_ - (massstab_ * v.y + offsetY_), massstab_ * v.z};
    }
    // WeltKS_to_BildKS: the origin shifts are added first.
    ViewPoint worldToPixel(double x, double y, double z) const {
        return viewToPixel(worldToView(x + shiftX_, y + shiftY_, z + shiftZ_));
    }
    // BildKS_to_WeltKS: the inverse of worldToPixel (shifts removed again). Massstab 0 has no
    // inverse; the caller never projects with a zero zoom.
    ViewPoint pixelToWorld(double column, double row, double scaledDepth) const {
        const double vx = (column - offsetX_) / massstab_;
        const double vy = ((height_ - row) - offsetY_) / massstab_;
        const double vz = scaledDepth / massstab_;
        const double u1 = vx - 200.0, u2 = 200.0 - vy, u3 = -vz;
        // M is orthonormal: its inverse is its transpose.
        return {m_[0][0] * u1 + m_[1][0] * u2 + m_[2][0] * u3 - shiftX_,
                m_[0][1] * u1 + m_[1][1] * u2 + m_[2][1] * u3 - shiftY_,
                m_[0][2] * u1 + m_[1][2] * u2 + m_[2][2] * u3 - shiftZ_};
    }

    // The same two conversions in shifted world coordinates (world point plus origin shift), as
    // the grid overlay works: the shift is neither added nor removed.
    ViewPoint shiftedToPixel(double x, double y, double z) const { return viewToPixel(worldToView(x, y, z)); }
    ViewPoint pixelToShifted(double column, double row, double scaledDepth) const {
        const ViewPoint w = pixelToWorld(column, row, scaledDepth);
        return {w.x + shiftX_, w.y + shiftY_, w.z + shiftZ_};
    }
    // False for a zoom of 0 or one that is not finite: pixels then have no world point.
    bool invertible() const { return massstab_ != 0 && std::isfinite(massstab_); }

    double massstab() const { return massstab_; }
    double shiftX() const { return shiftX_; }
    double shiftY() const { return shiftY_; }
    double shiftZ() const { return shiftZ_; }
    int height() const { return height_; }
    const double (&matrix() const)[3][3] { return m_; }

  private:
    double m_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    double massstab_ = 1;
    double offsetX_ = 0;
    double offsetY_ = 0;
    int height_ = 0;
    double shiftX_ = 0, shiftY_ = 0, shiftZ_ = 0;
};

}  // namespace kal
