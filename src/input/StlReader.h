#pragma once
// ASCII STL files: "solid", then per facet "facet normal ...", "outer loop", three "vertex x y z"
// lines, "endloop", "endfacet", and "endsolid" at the end. Numbers use "." as the decimal point.
// A file that does not follow this structure, or a vertex value that is no number, is refused
// with its row.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "input/ReadOptions.h"

namespace kal {

using StlTriangle = std::array<std::array<double, 3>, 3>;  // [vertex][x, y, z], vertices in file order

// The facets in file order (0-based).
std::vector<StlTriangle> parseStlFile(std::string_view bytes, const std::string& path,
                                      const ReadOptions& options);

}  // namespace kal
