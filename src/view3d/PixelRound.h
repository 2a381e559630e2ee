#pragma once
// Rounding of drawing coordinates: to the nearest integer, halves to the even neighbour, as
// every conversion of a fraction to a pixel does. Kept in double so that a far-off coordinate
// (a label aimed past the surface) never overflows an integer; the caller clips.
#include <cmath>

namespace kal {

inline double roundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which the program never changes from
    // round-to-nearest-even.
    return std::nearbyint(value);
}

}  // namespace kal
