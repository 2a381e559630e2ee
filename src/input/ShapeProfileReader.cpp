#include "input/ShapeProfileReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "input/AsciiFileCheck.h"
#include "input/NumberField.h"
#include "input/PointFields.h"
#include "input/PointFileIo.h"
#include "shared/FileHelpers.h"
#include "shared/NumberText.h"
#include "shared/TextLines.h"

namespace kal {

ShapeProfileFile parseShapeProfileFile(std::string_view bytes, const std::string& path,
                                       const ReadOptions& options) {
    checkUnitFactors(options);
    ShapeProfileFile file;
    std::optional<TextLines> lines(std::in_place, bytes);
    for (std::int32_t i = 0; i < lines->size(); ++i)
        if ((*lines)[i].size() > kMaxLineLength)
            refuseFile(options, path, i + 1,
                       messageLines({"File: ", path, "",
                                     "In Row " + std::to_string(i + 1) + " the line is longer than " +
                                         std::to_string(kMaxLineLength) + " characters"}));
    // Without any delimiter a line holds at most one value; such a file is refused below.
    const char delimiter = findDelimiter(*lines, options.decimalSeparator).value_or(' ');
    // The profile has no name column: both values are checked for their decimal separator.
    if (auto rewritten = checkDecimalSeparator(bytes, *lines, path, delimiter, false, options)) {
        file.rewrittenBytes = std::move(rewritten);
        lines.emplace(*file.rewrittenBytes);
    }
    std::vector<std::array<double, 2>> kept;
    std::vector<std::int32_t> keptRows;  // the line of each kept vertex
    const double lf = options.lengthFactor;
    const char sep = options.decimalSeparator == ',' ? ',' : '.';
    std::array<std::string_view, 2> fields;
    for (std::int32_t i = 0; i < lines->size(); ++i) {
        if (trimBlanks((*lines)[i]).empty()) continue;
        const std::int32_t row = i + 1;
        auto refuse = [&](const std::string& what) {
            refuseFile(options, path, row,
                       messageLines({"File: ", path, "", "In Row " + std::to_string(row) + " " + what}));
        };
        const int count = splitFields((*lines)[i], delimiter, fields.data(), 2);
        if (count < 2 || fields[0].empty() || fields[1].empty())
            refuse("there are not the two values r and z");
        std::array<double, 2> v{};
        for (int k = 0; k < 2; ++k) {
            const auto value = numberField(fields[k], sep);
            if (!value) refuse("the value \"" + std::string(fields[k].substr(0, 40)) + "\" is not a number");
            v[k] = (k == 1 ? std::abs(*value) : *value) / lf;
            if (!std::isfinite(v[k])) refuse("a value is out of range");
        }
        if (!kept.empty() && kept.back() == v) {
            ++file.duplicatesDropped;
            continue;
        }
        kept.push_back(v);
        keptRows.push_back(row);
    }
    const auto n = static_cast<std::int32_t>(kept.size());
    if (n < 2)
        refuseFile(options, path, 0,
                   messageLines({"File: ", path, "",
                                 "The file holds no usable shape profile: at least two different vertices "
                                 "(r, z) are needed"}));
    file.profile.resize(n, 2);
    for (std::int32_t i = 1; i <= n; ++i)
        file.profile(i, 1) = kept[i - 1][0], file.profile(i, 2) = kept[i - 1][1];

    // How far the straight line from vertex i-2 to vertex i passes the vertex i-1 between them.
    const Matrix& p = file.profile;
    double sumQuarter = 0;
    for (std::int32_t i = 5; i <= n; ++i) {
        const double dr = p(i, 1) - p(i - 2, 1);
        if (dr == 0.0) continue;  // no line to interpolate on
        const double zStar = p(i - 2, 2) + (p(i, 2) - p(i - 2, 2)) * (p(i - 1, 1) - p(i - 2, 1)) / dr;
        const double delta1 = zStar - p(i - 1, 2);
        if (!std::isfinite(delta1)) continue;
        file.biggestDelta1 = std::max(file.biggestDelta1, delta1);
        file.biggestQuarterDelta1 = std::max(file.biggestQuarterDelta1, delta1 / 4);
        sumQuarter += delta1 / 4;
    }
    file.averageDelta1 = sumQuarter / n;
    if (!std::isfinite(file.averageDelta1)) file.averageDelta1 = 0;

    if (file.duplicatesDropped > 0)
        tell(options, "Found " + std::to_string(file.duplicatesDropped) + " double Points in File\n" + path +
                          "\n...and will ignore them");
    tell(options, shapeProfileReport(file, options));
    // The foot points need r to grow from row to row; the file order is kept, so say where it does not.
    for (std::int32_t i = 2; i <= n; ++i)
        if (file.profile(i, 1) <= file.profile(i - 1, 1)) {
            const std::string line = std::to_string(keptRows[static_cast<std::size_t>(i - 1)]);
            tell(options, messageLines({"File: ", path, "",
                                        "In Row " + line +
                                            " the radius does not grow; the shape profile needs its "
                                            "vertices in the order of growing r"}));
            break;
        }
    return file;
}

std::string shapeProfileReport(const ShapeProfileFile& file, const ReadOptions& options) {
    auto shown = [&](double mm) {
        const double v = mm * options.lengthFactor;
        return formatNumber(std::isfinite(v) ? v : 0.0, "0.000000", options.decimalSeparator) + " " +
               options.lengthUnitName;
    };
    return messageLines({"Due to using discret Points in the nominal file, Kalvoreth ist interpolating "
                         "beetween this points.",
                         "To analyze how much error this causes, Kalvoreth does some test cacluations; for "
                         "details see the "
                         "Kalvoreth Manual:",
                         "Chapter Paraboloid Option", "", "Biggest delta1 is " + shown(file.biggestDelta1),
                         "",
                         "Accuracy of Interpolation based on the Shape Definition is approx. 1/4 of delta1 "
                         "and is at the worst "
                         "position better than  ",
                         shown(file.biggestQuarterDelta1), "",
                         "The average interpolation accuracy (average delta1) for the whole shape is ",
                         shown(file.averageDelta1)}) +
           "\n";
}

ShapeProfileFile readShapeProfileFile(const std::string& path, const ReadOptions& options) {
    if (!fileExists(path)) refuseFile(options, path, 0, "File " + path + " not found");
    const std::string bytes = readFileBytes(path);
    auto file = parseShapeProfileFile(bytes, path, options);
    if (file.rewrittenBytes) replaceFileKeepingBackup(path, *file.rewrittenBytes);
    return file;
}

}  // namespace kal
