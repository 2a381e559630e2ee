#include "input/AsciiPointReader.h"

#include <array>
#include <cmath>

#include "input/NumberField.h"
#include "input/PairNaming.h"
#include "input/PointFields.h"
#include "input/PointFileIo.h"
#include "shared/FileHelpers.h"

namespace kal {

namespace {

constexpr int kMaxFields = 8;

std::string shortened(std::string_view token) {
    return token.size() > 40 ? std::string(token.substr(0, 40)) + "..." : std::string(token);
}

// One line's fields checked against the layout; returns the fields or refuses the file.
struct RowReader {
    const std::string& path;
    const ReadOptions& options;
    char delimiter;
    char separator;

    [[noreturn]] void refuse(std::int32_t row, const std::string& what) const {
        refuseFile(options, path, row,
                   messageLines({"File: ", path, "", "In Row " + std::to_string(row) + " " + what}));
    }

    // Splits and checks that `needed` fields are there and not empty.
    void split(std::string_view line, std::int32_t row, int needed, const char* layout,
               std::array<std::string_view, kMaxFields>& fields) const {
        const int n = splitFields(line, delimiter, fields.data(), kMaxFields);
        if (n < needed)
            refuse(row, "there " +
                            std::string(n == 1 ? "is only 1 column"
                                               : "are only " + std::to_string(n) + " columns") +
                            "; " + layout + " are expected");
        for (int f = 0; f < needed; ++f)
            if (fields[static_cast<std::size_t>(f)].empty())
                refuse(row, "the column " + std::to_string(f + 1) + " is empty");
    }

    // The value of a number field divided by `divisor` (a unit factor).
    double number(std::string_view token, std::int32_t row, double divisor = 1.0) const {
        const auto v = numberField(token, separator);
        if (!v) refuse(row, "the value \"" + shortened(token) + "\" is not a number");
        const double q = *v / divisor;
        if (!std::isfinite(q)) refuse(row, "the value \"" + shortened(token) + "\" is out of range");
        return q;
    }
};

}  // namespace

AsciiPointFile parseAsciiPointFile(std::string_view bytes, const std::string& path,
                                   const ReadOptions& options) {
    checkUnitFactors(options);
    AsciiPointFile file;
    std::optional<TextLines> lines(std::in_place, bytes);
    auto layout = checkAsciiFile(bytes, *lines, path, options);
    if (layout.rewrittenBytes) {
        file.rewrittenBytes = std::move(layout.rewrittenBytes);
        lines.emplace(*file.rewrittenBytes);
    }
    file.delimiter = layout.delimiter;
    file.hasNames = layout.hasNames;

    std::int32_t lastPointLine = -1, pointLines = 0;
    for (std::int32_t i = 0; i < lines->size(); ++i)
        if (!isEmptyRow((*lines)[i])) lastPointLine = i, ++pointLines;

    const RowReader reader{path, options, file.delimiter, options.decimalSeparator == ',' ? ',' : '.'};
    const int needed = file.hasNames ? 4 : 3;
    const char* layoutText = file.hasNames ? "name, x, y and z" : "x, y and z";
    const double lf = options.lengthFactor;
    auto& pts = file.points;
    pts.reserve(static_cast<std::size_t>(pointLines));
    std::array<std::string_view, kMaxFields> fields;
    for (std::int32_t i = 0; i <= lastPointLine; ++i) {
        const auto line = (*lines)[i];
        const std::int32_t row = i + 1;
        if (isEmptyRow(line)) {
            tell(options, messageLines({"Empty Row in File ", path,
                                        " in line " + std::to_string(row) + " will be ignored"}));
            continue;
        }
        reader.split(line, row, needed, layoutText, fields);
        const int c = file.hasNames ? 1 : 0;
        const double x = reader.number(fields[c], row, lf);
        const double y = reader.number(fields[c + 1], row, lf);
        const double z = reader.number(fields[c + 2], row, lf);
        pts.add(file.hasNames ? std::string(fields[0]) : std::to_string(pts.count() + 1), x, y, z);
    }
    return file;
}

AsciiPointFile readAsciiPointFile(const std::string& path, const ReadOptions& options) {
    if (!fileExists(path)) refuseFile(options, path, 0, "File " + path + " not found");
    const std::string bytes = readFileBytes(path);
    auto file = parseAsciiPointFile(bytes, path, options);
    // Points with a double name stop the load at the matching; the file then stays as it was.
    if (file.rewrittenBytes && !firstDoubleName(file.points.names))
        replaceFileKeepingBackup(path, *file.rewrittenBytes);
    return file;
}

AsciiRows readNamedRows(const TextLines& lines, const std::string& path, char delimiter, int valuesPerRow,
                        char decimalSeparator, const ReadOptions& options) {
    const RowReader reader{path, options, delimiter, decimalSeparator};
    const std::string layout = "a name and " + std::to_string(valuesPerRow) + " values";
    AsciiRows rows;
    std::array<std::string_view, kMaxFields> fields;
    for (std::int32_t i = 0; i < lines.size(); ++i) {
        if (trimBlanks(lines[i]).empty()) continue;
        reader.split(lines[i], i + 1, valuesPerRow + 1, layout.c_str(), fields);
        rows.names.emplace_back(fields[0]);
        rows.lineNumbers.push_back(i + 1);
        for (int k = 1; k <= valuesPerRow; ++k)
            rows.values.push_back(reader.number(fields[static_cast<std::size_t>(k)], i + 1));
    }
    return rows;
}

}  // namespace kal
