#include "input/NumberField.h"

#include <charconv>
#include <cmath>

namespace kal {

std::optional<double> numberField(std::string_view s, char sep) {
    // Only sign, digits, one separator and an exponent: no "inf", "nan", hex or group separators.
    std::size_t i = 0;
    const std::size_t n = s.size();
    if (n == 0 || n > 400) return std::nullopt;
    if (s[i] == '+' || s[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    std::size_t sepAt = std::string_view::npos;
    if (i < n && s[i] == sep) {
        sepAt = i++;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
        if (expDigits == 0) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    char buf[401];
    std::size_t b = 0;
    for (std::size_t k = 0; k < n; ++k) {
        if (k == 0 && s[k] == '+') continue;
        buf[b++] = (k == sepAt) ? '.' : s[k];
    }
    double v = 0;
    auto [ptr, ec] = std::from_chars(buf, buf + b, v);
    if (ec != std::errc() || ptr != buf + b || !std::isfinite(v)) return std::nullopt;
    return v;
}

}  // namespace kal
