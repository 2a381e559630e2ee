#include "input/ControllerLines.h"

#include <cmath>

#include "input/AsciiFileCheck.h"
#include "input/NumberField.h"

namespace kal::controller {

void refuseRow(const ReadOptions& options, const std::string& path, std::int32_t row, const std::string& what,
               const std::string& heading) {
    const std::string where = row > 0 ? "In Row " + std::to_string(row) + " " : std::string();
    if (heading.empty()) refuseFile(options, path, row, messageLines({"File: ", path, "", where + what}));
    refuseFile(options, path, row, messageLines({heading, "", "File: ", path, "", where + what}));
}

double number(std::string_view text, double divisor, const ReadOptions& options, const std::string& path,
              std::int32_t row, std::string_view what, const std::string& heading) {
    const std::string shown = text.size() > 40 ? std::string(text.substr(0, 40)) + "..." : std::string(text);
    const auto v = numberField(text, '.');
    if (!v)
        refuseRow(options, path, row,
                  "the value of " + std::string(what) + " \"" + shown + "\" is not a number", heading);
    const double q = *v / divisor;
    if (!std::isfinite(q))
        refuseRow(options, path, row, "the value of " + std::string(what) + " is out of range", heading);
    return q;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace kal::controller
