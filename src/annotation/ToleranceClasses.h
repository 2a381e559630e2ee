#pragma once
// Tolerance classes of the identical points of one graphics window (Transform_dev_to_klasse).
//
// For identical point i (rows 1..IdenticalCount of the point cloud) the actual point is the
// transformed MCS point (MCSt) and the nominal point the OCS point. By the window's colour
// settings (`CS_Type`, `showVeX/Y/Z`, `ColorBased`, `Max`, `Min`, `AnzKlassenPos/Neg`) it writes:
//   column 4   the colour-basis value in millimetres: the length of the shown deviation vector,
//              or the spatial distance when no component is shown; signed by the component
//              `ColorBased` names ("x", "y", "z"), otherwise not negative;
//   column 5   the tolerance class: 1..Pos inside above zero, -1..-Neg inside below zero,
//              Pos+1 above the upper limit, -Neg-1 below the lower one, 0 when that side's
//              limit is 0. The band is closed below and open above; a value of 0 is class 1;
//   columns 8-10  the shown deviation vector along the OCS axes (sum of the shown components).
// Rows beyond IdenticalCount keep their values. Everything is millimetres and radians.
//
// Sound behaviour where the plain formulas break down:
//  - the azimuth difference (cylindrical and spherical "Phi") is normalised to [-pi, pi] once
//    and used for both the vector and the sign, so 179 deg against -179 deg is -2 deg;
//  - classes are clamped to [-Neg-1, Pos+1], so a gross outlier cannot overflow the class;
//  - a value on the wrong side of a limit of the wrong sign goes to the outer class of its own
//    sign (v <= 0 with Min > 0 -> -Neg-1, v > 0 with Max < 0 -> Pos+1);
//  - automatic limits (both 0) are derived only when some row contributes; with no identical
//    point they stay 0, so the next data derives them.
// Cost O(n) with a few trigonometric calls per row; ToleranceClassCache skips the work while
// neither the settings nor the point data changed.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/PointCloud.h"

namespace kal {

// The class of one colour-basis value (column 4, single precision) under the limits and counts.
std::int32_t toleranceClassOf(float colourBasis, double Max, double Min, std::int32_t AnzKlassenPos,
                              std::int32_t AnzKlassenNeg);

// Computes columns 4, 5 and 8-10 of the identical points' rows of `cloud` (at most cloud.count()
// rows) and derives `view.Max` / `view.Min` from the data when both are 0 (Transform_dev_to_klasse).
void classifyDeviations(PointCloud& cloud, const JobState& job, ScreenProperties& view);

// classifyDeviations for one window, remembering its last results: while the settings the
// classes depend on and the identical points' coordinates are unchanged, the stored columns are
// written back without recomputing. The check of the point data is a fingerprint over the
// coordinates (no trigonometry), so no caller has to report changes; invalidate() forces a
// recomputation. Writing the results back every call keeps one window's columns from leaking
// into another window that shares the cloud.
class ToleranceClassCache {
  public:
    void classify(PointCloud& cloud, const JobState& job, ScreenProperties& view);
    void invalidate() { valid_ = false; }
    // True when the last classify() reused the stored results (tests, benchmarks).
    bool lastWasReused() const { return lastReused_; }

  private:
    struct Key {
        std::string csType;
        std::string colorBased;
        bool showX = false, showY = false, showZ = false;
        double max = 0, min = 0;
        std::int32_t pos = 0, neg = 0;
        std::int32_t rows = 0;
        std::uint64_t dataFingerprint = 0;
        bool operator==(const Key&) const = default;
    };
    static Key keyOf(const JobState& job, const ScreenProperties& view, std::int32_t rows);

    bool valid_ = false;
    bool lastReused_ = false;
    Key key_;
    std::vector<float> columns_;  // per row: 4, 5, 8, 9, 10
};

}  // namespace kal
