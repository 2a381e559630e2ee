#pragma once
// The reader of ASCII point files: a name and x, y, z per line (or x, y, z alone, the points then
// named by their ordinal number), separated by the delimiter the file check finds. Coordinates
// are in the display length unit with the system's decimal separator and are stored in
// millimetres. A line that does not fit the layout is refused with its row number: an empty
// field, a coordinate that is no number and a short line are never read as 0 or shifted.
#include <optional>
#include <string>
#include <string_view>

#include "input/AsciiFileCheck.h"
#include "input/PointSet.h"
#include "input/ReadOptions.h"

namespace kal {

struct AsciiPointFile {
    PointSet points;
    char delimiter = ' ';  // the job's FileDelimiter after this file
    bool hasNames = true;  // false for a three-column file
    // Set when the user agreed to rewrite the decimal separator: the bytes to put in place of the
    // file (the points above were read from them).
    std::optional<std::string> rewrittenBytes;
};

// Checks and reads the file given by its bytes. `path` names the file in messages. Nothing is
// written; empty rows before the last point are reported (OK box) and skipped.
AsciiPointFile parseAsciiPointFile(std::string_view bytes, const std::string& path,
                                   const ReadOptions& options);

// Reads the file at `path` ("File <path> not found" when there is none); when the user agreed to
// the decimal-separator rewrite and the rewritten file read without fault and without a double
// name, the rewrite is put in place (the original kept as ".$").
AsciiPointFile readAsciiPointFile(const std::string& path, const ReadOptions& options);

// The lines of an ASCII layout file after its check: used by the readers of files that carry more
// columns (x y z A B C, quaternions). Reads the name and `values` numbers per non-empty line.
struct AsciiRows {
    std::vector<std::string> names{std::string()};
    std::vector<double> values;  // row-major, `valuesPerRow` per row, row 1 first
    std::vector<std::int32_t> lineNumbers{0};
    std::int32_t count() const { return static_cast<std::int32_t>(names.size()) - 1; }
};
AsciiRows readNamedRows(const TextLines& lines, const std::string& path, char delimiter, int valuesPerRow,
                        char decimalSeparator, const ReadOptions& options);

}  // namespace kal
