#pragma once
// The residual statistics of the calculation window's "Statistics" frame: s0 and the weighted
// sigmas, the signed extreme residuals per axis with their points, the spreads and the largest
// 3-D residual, each compared with the previous display of the same window (green arrow when its
// magnitude fell, red otherwise).
//
// Absent values. An axis on which no observation is used has no extremes: its max, min and spread
// are absent (empty box, no arrow, the previous value kept for the next comparison, an empty
// field in the report), never a ±1e9 stand-in. The 3-D maximum is absent when no point has all
// three components in use and then shows "no xyz". A point-name box whose extreme is absent is
// cleared, so that it never names a point that is not the extreme.
//
// Scan rule: observations 3i−2, 3i−1, 3i are the x, y, z residuals of identical point i; one is
// used when its weight is > 0. Comparisons are strict, so of equal extremes the lower point number
// wins. Cost O(n), no allocation beyond the result.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/CalcResults.h"

namespace kal {

// The fifteen compared quantities, in the order of the frame's table.
enum StatQuantity : int {
    kStatS0,
    kStatSigmaXyz,
    kStatSx,
    kStatSy,
    kStatSz,
    kStatMaxXyz,
    kStatMaxX,
    kStatMinX,
    kStatMaxY,
    kStatMinY,
    kStatMaxZ,
    kStatMinZ,
    kStatSpreadX,
    kStatSpreadY,
    kStatSpreadZ,
};
inline constexpr int kStatCount = 15;

// The seven extreme points: max xyz, then max and min per axis.
enum ExtremeIndex : int { kExtMaxXyz, kExtMaxX, kExtMinX, kExtMaxY, kExtMinY, kExtMaxZ, kExtMinZ };
inline constexpr int kExtremeCount = 7;
// The component of an axis extreme: 0 x, 1 y, 2 z; -1 for the 3-D maximum, which has all three.
inline constexpr int extremeComponent(ExtremeIndex e) { return e == kExtMaxXyz ? -1 : (e - 1) / 2; }

enum class Arrow : std::uint8_t { None, Green, Red };

// The values of the previous display (PrevStats), millimetres; 0 in a new window, so the first
// display shows red arrows only. Indexed by StatQuantity; the spreads are not kept, they compare
// abs(max − min) of the kept max and min.
struct PrevStats {
    std::array<double, kStatCount> value{};
};

// One display of the statistics (millimetres).
struct StatisticsDisplay {
    std::array<std::optional<double>, kStatCount> value{};   // absent: empty box
    std::array<Arrow, kStatCount> arrow{};                   // None for an absent value
    std::array<std::int32_t, kExtremeCount> extremePoint{};  // 0: no point (absent extreme)
    double S0 = 0, Sx = 0, Sy = 0, Sz = 0;
};

// True when the adjustment left residuals and weights for its observations (a calculation ran).
bool hasAdjustment(const CalcResults& results);

// The statistics step and the extremes step of the result display: CalcSigma over the adjustment,
// sigma xyz, the extremes, the spreads and their arrows against `prev`, which then holds this
// display's present values (absent ones keep their previous values).
StatisticsDisplay computeStatistics(const CalcResults& results, PrevStats& prev);

// The arrow of a value against its previous one: green when strictly smaller in magnitude.
inline Arrow compareArrow(double current, double previous) {
    return (current < 0 ? -current : current) < (previous < 0 ? -previous : previous) ? Arrow::Green
                                                                                      : Arrow::Red;
}

// The text the max-xyz box shows when no point has all three components in use.
inline constexpr const char* kNoXyz = "no xyz";

}  // namespace kal
