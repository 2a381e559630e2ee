// ASCII layouts that carry an orientation per point: "name x y z A B C" and
// "name x y z q1 q2 q3 q4". They pass the checks of ordinary ASCII point files (delimiter, columns,
// decimal separator) and are read with the system's decimal separator; empty lines are skipped.
#include <cmath>
#include <optional>

#include "input/AsciiPointReader.h"
#include "input/ControllerLines.h"
#include "input/RobotFileReaders.h"

namespace kal {

namespace {

// The check, then the rows of `values` numbers after the name, from the rewritten bytes when the
// user agreed to a rewrite (kept in the result for the caller to put in place).
template <typename Fill>
OcsPointSet readAngleLayout(std::string_view bytes, const std::string& path, const ReadOptions& options,
                            int values, Fill fill) {
    checkUnitFactors(options);
    std::optional<TextLines> lines(std::in_place, bytes);
    auto layout = checkAsciiFile(bytes, *lines, path, options);
    OcsPointSet set;
    if (layout.rewrittenBytes) {
        set.rewrittenBytes = std::move(layout.rewrittenBytes);
        lines.emplace(*set.rewrittenBytes);
    }
    set.delimiter = layout.delimiter;
    set.hasNames = layout.hasNames;
    const auto rows = readNamedRows(*lines, path, layout.delimiter, values,
                                    options.decimalSeparator == ',' ? ',' : '.', options);
    for (std::int32_t i = 1; i <= rows.count(); ++i) {
        const double* v = &rows.values[static_cast<std::size_t>((i - 1) * values)];
        auto unit = [&](double value, double factor) {
            const double q = value / factor;
            if (!std::isfinite(q))
                controller::refuseRow(options, path, rows.lineNumbers[i], "a value is out of range");
            return q;
        };
        fill(set, rows.names[i], v, rows.lineNumbers[i], unit);
    }
    return set;
}

}  // namespace

OcsPointSet parseXyzAbcFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    auto set = readAngleLayout(
        bytes, path, options, 6,
        [&](OcsPointSet& s, const std::string& name, const double* v, std::int32_t, auto unit) {
            const double lf = options.lengthFactor, af = options.angleFactor;
            s.add(name, unit(v[0], lf), unit(v[1], lf), unit(v[2], lf), unit(v[3], af), unit(v[4], af),
                  unit(v[5], af));
        });
    set.finish(false);
    return set;
}

OcsPointSet parseQuaternionFile(std::string_view bytes, const std::string& path, const ReadOptions& options) {
    auto set = readAngleLayout(
        bytes, path, options, 7,
        [&](OcsPointSet& s, const std::string& name, const double* v, std::int32_t row, auto unit) {
            const double lf = options.lengthFactor;
            const auto abc = abcFromQuaternion(v[3], v[4], v[5], v[6]);
            if (!abc)
                controller::refuseRow(
                    options, path, row,
                    "the quaternion of point " + name + " has no length (all its components are 0)");
            s.add(name, unit(v[0], lf), unit(v[1], lf), unit(v[2], lf), abc->a, abc->b, abc->c);
        });
    set.finish(true);
    return set;
}

}  // namespace kal
