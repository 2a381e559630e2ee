#pragma once
// The shape profile of paraboloid mode: one vertex (r, z) per line, in the display length unit
// with the system's decimal separator, separated by the file's delimiter or blanks. The profile
// is stored in millimetres with z taken without its sign, in file order; neighbouring exact
// duplicates are dropped. The reader reports how well straight lines between the vertices
// represent the shape.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "input/ReadOptions.h"
#include "shared/Matrix.h"

namespace kal {

struct ShapeProfileFile {
    Matrix profile;  // (0..n, 0..2): column 1 = r, column 2 = |z|, millimetres
    std::int32_t duplicatesDropped = 0;
    // The interpolation test over rows 5..n (millimetres).
    double biggestDelta1 = 0, biggestQuarterDelta1 = 0, averageDelta1 = 0;
    std::optional<std::string> rewrittenBytes;  // an accepted decimal-separator rewrite
};

// Reads the profile and shows the duplicate message and the report. A profile with fewer than two
// usable vertices is refused, as is a line without two numbers.
ShapeProfileFile parseShapeProfileFile(std::string_view bytes, const std::string& path,
                                       const ReadOptions& options);

// Reads the file at `path` ("File <path> not found" when there is none); an accepted rewrite is
// put in place after the read succeeded.
ShapeProfileFile readShapeProfileFile(const std::string& path, const ReadOptions& options);

// The report's text for the figures (in millimetres), in the display unit of `options`.
std::string shapeProfileReport(const ShapeProfileFile& file, const ReadOptions& options);

}  // namespace kal
