#pragma once
// The datum of a distance network: distances alone fix neither position nor orientation, so six
// station coordinates are held. Station 1 is held whole; station 2 keeps one coordinate free and
// a third station I two. Coordinates are indexed by axis 1 = x, 2 = y, 3 = z.
//
// The chosen datum (Calculate) is chosen anew in every iteration from the current stations:
//   a = S1 − S2; station 2 is free along the axis of the largest |a| component (ties: z before y
//   before x), so that it slides along the S1–S2 baseline whatever side of S1 it stands on;
//   I = the first station from 3 on with |a × b| > 1e-9·|a|·|b|, b = S_I − S2 (not on the line
//   through S1 and S2); it is free on station 2's free axis and on the one of the other two
//   axes on which c = a × b is smaller, so that its held coordinate stops the turn about the
//   baseline (which moves I along c).
// The fixed datum (the Command1 variant) holds S1 x, y, z, S2 x, y and S3 x.
#include <array>
#include <cstdint>
#include <optional>

#include "shared/Matrix.h"

namespace kal {

enum class NetworkDatumKind { Chosen, Fixed };

inline constexpr const char* kStationsInOneLine = "All Stations are in one line; this is not working";

struct NetworkDatum {
    int station2FreeAxis = 3;         // 1..3
    std::int32_t thirdStation = 3;    // I
    std::array<bool, 4> thirdFree{};  // [1..3]: station I's free axes
    // The six held columns of the full layout (station k owns 3k−2..3k), highest first.
    std::array<std::int32_t, 6> heldColumns{};
};

// Station 2's free axis for a = S1 − S2.
int freeAxisOfStation2(double ax, double ay, double az);

// The datum from the stations (rows 1..stationCount of `stations`, columns 1..3); nullopt when no
// third station stands off the line (fewer than three stations included).
std::optional<NetworkDatum> chooseDatum(const Matrix& stations, std::int32_t stationCount,
                                        NetworkDatumKind kind);

}  // namespace kal
