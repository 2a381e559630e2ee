#pragma once
// The program's two values of pi. The unit factors and the transformation engine use the full
// value; the vector, rotation and angle helpers use the ten-digit P and 2P exactly as written,
// because angle normalisation and the order of stored solution tables depend on those digits.

namespace kal {

inline constexpr double kPi = 3.14159265358979;  // units and engine
inline constexpr double kP = 3.1415926535;       // vector, rotation and angle helpers
inline constexpr double k2P = 6.283185307;       // 2P as written (equals 2 * kP exactly)

}  // namespace kal
