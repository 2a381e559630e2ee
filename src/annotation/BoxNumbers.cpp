#include "annotation/BoxNumbers.h"

#include <cmath>

#include "shared/NumberText.h"

namespace kal {

std::optional<double> plainNumber(std::string_view text, PlainNumberForm form) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string_view body = text;
    if (form.minus && !body.empty() && body.front() == '-') body.remove_prefix(1);
    bool digit = false, separator = false;
    for (char c : body) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '.' || c == ',') && form.fraction && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    try {
        const double value = ownNumber(text);
        if (!std::isfinite(value)) return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string refusedNumberMessage(std::string_view box, std::string_view typed, std::string_view takes,
                                 std::string_view kept) {
    std::string m = "\"";
    m.append(box).append("\": \"").append(typed).append("\" is not taken; the box takes ").append(takes);
    m.append(".\nIt keeps ").append(kept.empty() ? std::string_view("its text") : kept).append(".");
    return m;
}

}  // namespace kal
