#pragma once
// The point file written back after a matching by coordinates renamed its points: one line per
// point, in the set's order, paired or not: name, x, y, z joined by the job's file delimiter (the
// OCS file's after a load), each coordinate in the length unit the file was read in and in the
// general number form (up to 15 significant digits, the system's decimal separator), lines ended
// by CR LF.
#include <string>
#include <vector>

namespace kal {

// The file's text (UTF-8). Throws FormatError, before anything is built, when the text could not
// be read back as the same points: a name holding the delimiter or a line end, or a delimiter
// that is the decimal separator. Arrays are 1-based (entry 0 unused), coordinates in millimetres.
std::string rewrittenPointText(const std::vector<std::string>& names, const std::vector<double>& x,
                               const std::vector<double>& y, const std::vector<double>& z, char delimiter,
                               double lengthFactor);

}  // namespace kal
