#include "network/NetworkDatum.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kal {

int freeAxisOfStation2(double ax, double ay, double az) {
    const double x = std::fabs(ax), y = std::fabs(ay), z = std::fabs(az);
    if (z >= x && z >= y) return 3;
    if (y >= x) return 2;
    return 1;
}

std::optional<NetworkDatum> chooseDatum(const Matrix& stations, std::int32_t stationCount,
                                        NetworkDatumKind kind) {
    if (stationCount < 3) return std::nullopt;
    NetworkDatum d;
    if (kind == NetworkDatumKind::Fixed) {
        d.station2FreeAxis = 3;
        d.thirdStation = 3;
        d.thirdFree = {false, false, true, true};
        d.heldColumns = {7, 5, 4, 3, 2, 1};
        return d;
    }
    const double a[4] = {0, stations(1, 1) - stations(2, 1), stations(1, 2) - stations(2, 2),
                         stations(1, 3) - stations(2, 3)};
    d.station2FreeAxis = freeAxisOfStation2(a[1], a[2], a[3]);
    const double aLength = std::sqrt(a[1] * a[1] + a[2] * a[2] + a[3] * a[3]);
    double c[4] = {};
    std::int32_t third = 0;
    for (std::int32_t s = 3; s <= stationCount && third == 0; ++s) {
        const double b[4] = {0, stations(s, 1) - stations(2, 1), stations(s, 2) - stations(2, 2),
                             stations(s, 3) - stations(2, 3)};
        c[1] = a[2] * b[3] - b[2] * a[3];
        c[2] = a[3] * b[1] - b[3] * a[1];
        c[3] = b[2] * a[1] - a[2] * b[1];
        const double bLength = std::sqrt(b[1] * b[1] + b[2] * b[2] + b[3] * b[3]);
        const double cLength = std::sqrt(c[1] * c[1] + c[2] * c[2] + c[3] * c[3]);
        if (cLength > 1e-9 * aLength * bLength) third = s;
    }
    if (third == 0) return std::nullopt;
    d.thirdStation = third;
    int second = 0;
    switch (d.station2FreeAxis) {
        case 1:
            second = std::fabs(c[3]) > std::fabs(c[2]) ? 2 : 3;
            break;
        case 2:
            second = std::fabs(c[3]) > std::fabs(c[1]) ? 1 : 3;
            break;
        default:
            second = std::fabs(c[2]) > std::fabs(c[1]) ? 1 : 2;
            break;
    }
    d.thirdFree[static_cast<std::size_t>(d.station2FreeAxis)] = true;
    d.thirdFree[static_cast<std::size_t>(second)] = true;
    int thirdHeld = 1;
    while (d.thirdFree[static_cast<std::size_t>(thirdHeld)]) ++thirdHeld;
    std::array<std::int32_t, 6> held{};
    int n = 0;
    held[n++] = 3 * third - 3 + thirdHeld;
    for (int axis = 3; axis >= 1; --axis)
        if (axis != d.station2FreeAxis) held[n++] = 3 + axis;
    held[n++] = 3, held[n++] = 2, held[n++] = 1;
    d.heldColumns = held;
    return d;
}

}  // namespace kal
