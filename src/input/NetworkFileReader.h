#pragma once
// The input file of the distance network adjustment:
//   ... any lines ...
//   Theodolite            stations: a data line "name v1 v2 v3" and one line that is not read,
//   S1 0 0 0              each; the section ends at a data line beginning with "END"
//   (comment)
//   END
//   ... any lines ...
//   Object Points         object points, two lines each in the same way, up to "END"
//   ...
//   Distances             one line per observation: "name1 name2 distance", up to "END"
//   ...
// Tokens are separated by blanks or Tabs; values are read with the system's decimal separator
// and taken as they stand (no unit conversion). A missing section or "END", a short line or a
// value that is no number is refused with its row.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/ReadOptions.h"
#include "shared/Matrix.h"

namespace kal {

struct NetworkFile {
    std::vector<std::string> stations{std::string()};  // BuendelStation, 1..nS
    Matrix stationData;                                // BuendelStationDaten (0..nS, 0..3)
    std::vector<std::string> points{std::string()};    // BuendelPunkt, 1..nP
    Matrix pointData;                                  // BuendelPunktDaten (0..nP, 0..3)
    std::vector<std::string> from{std::string()};      // BuendelBeob(i, 1), 1..nD
    std::vector<std::string> to{std::string()};        // BuendelBeob(i, 2)
    std::vector<double> distances{0.0};                // BuendelBeobWert, 1..nD

    std::int32_t stationCount() const { return static_cast<std::int32_t>(stations.size()) - 1; }
    std::int32_t pointCount() const { return static_cast<std::int32_t>(points.size()) - 1; }
    std::int32_t distanceCount() const { return static_cast<std::int32_t>(distances.size()) - 1; }
};

NetworkFile parseNetworkFile(std::string_view bytes, const std::string& path, const ReadOptions& options);

// "Found <nS> Stations and <nP> Object Points and <nD> Distance Observations"
std::string networkFileReport(const NetworkFile& file);

}  // namespace kal
