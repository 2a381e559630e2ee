#pragma once
// Readers of the OCS files that carry an orientation per point: KUKA position declarations
// (.dat), ABB modules (.modx), FANUC position lists (.ls), and ASCII files of x y z A B C or of
// x y z and a quaternion. Controller files always use "." as the decimal point; all values are
// taken in the display units (lengths ÷ lengthFactor, angles ÷ angleFactor; angles from
// quaternions are radians already). Controller points are named "1", "2", ... in file order.
// A file that yields no point, or a line that does not have the expected structure, is refused
// with its row (see ReadOptions.h); nothing is half read.
#include <string>
#include <string_view>

#include "input/OcsPointSet.h"
#include "input/ReadOptions.h"
#include "shared/JobState.h"

namespace kal {

OcsPointSet parseKukaDatFile(std::string_view bytes, const std::string& path, const ReadOptions& options);
OcsPointSet parseModxFile(std::string_view bytes, const std::string& path, const ReadOptions& options);
OcsPointSet parseFanucLsFile(std::string_view bytes, const std::string& path, const ReadOptions& options);
OcsPointSet parseXyzAbcFile(std::string_view bytes, const std::string& path, const ReadOptions& options);
OcsPointSet parseQuaternionFile(std::string_view bytes, const std::string& path, const ReadOptions& options);

// Reads the file at `path` in the given format (not kOcsAscii or kOcsParaboloid). An accepted
// decimal-separator rewrite of an x y z A B C or quaternion file is put in place after the read
// succeeded and found no double name, the original kept as ".$".
OcsPointSet readOcsFile(OcsFormat format, const std::string& path, const ReadOptions& options);

}  // namespace kal
