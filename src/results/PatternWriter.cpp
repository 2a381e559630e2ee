#include "results/PatternWriter.h"

#include <charconv>
#include <cmath>
#include <exception>

#include "shared/NumberText.h"

namespace kal {

namespace {
constexpr int kSignificant = 15;
}

PatternWriter::PatternWriter(std::string_view pattern) : pattern_(pattern) {
    // "0" or "0." followed by zeros only: one integer zero, fixed decimals.
    if (pattern.empty() || pattern[0] != '0') return;
    if (pattern.size() == 1) {
        fast_ = true;
        return;
    }
    if (pattern[1] != '.' || pattern.size() > 2 + 20) return;
    for (std::size_t i = 2; i < pattern.size(); ++i)
        if (pattern[i] != '0') return;
    decimals_ = static_cast<int>(pattern.size()) - 2;
    fast_ = true;
}

bool PatternWriter::append(std::string& out, double value, char sep) const {
    if (!std::isfinite(value)) return false;
    // Values beyond 1e40 have more digits than the fast path keeps.
    if (!fast_ || std::fabs(value) >= 1e40) {
        try {
            out += formatNumber(value, pattern_, sep);
        } catch (const std::exception&) {
            return false;
        }
        return true;
    }
    // The 15 significant digits, as formatNumber takes them (correctly rounded, like printf).
    char buf[48];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                         std::chars_format::scientific, kSignificant - 1);
    if (ec != std::errc()) return false;
    char digits[kSignificant + 1];
    int count = 0;
    const char* p = buf;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[count++] = *p;
    int exponent = 0;
    if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);

    // Round to `keep` digits, halves away from zero; a carry through all of them adds a digit.
    char kept[kSignificant + 64];
    int keptCount = 0;
    bool zero = true;
    for (int i = 0; i < count; ++i)
        if (digits[i] != '0') zero = false;
    if (!zero) {
        const int keep = exponent + 1 + decimals_;
        if (keep >= count) {
            for (int i = 0; i < count; ++i) kept[keptCount++] = digits[i];
            for (int i = count; i < keep; ++i) kept[keptCount++] = '0';
        } else if (keep >= 0) {
            for (int i = 0; i < keep; ++i) kept[keptCount++] = digits[i];
            if (digits[keep] >= '5') {
                int i = keep - 1;
                for (; i >= 0; --i) {
                    if (kept[i] == '9') {
                        kept[i] = '0';
                    } else {
                        ++kept[i];
                        break;
                    }
                }
                if (i < 0) {
                    for (int j = keptCount; j > 0; --j) kept[j] = kept[j - 1];
                    kept[0] = '1';
                    ++keptCount;
                    ++exponent;
                }
            }
        }
        zero = true;
        for (int i = 0; i < keptCount; ++i)
            if (kept[i] != '0') zero = false;
    }
    if (zero) {
        out += '0';
        if (decimals_ > 0) out += sep, out.append(static_cast<std::size_t>(decimals_), '0');
        return true;
    }
    if (value < 0) out += '-';
    int intCount = exponent + 1;
    if (intCount <= 0) {
        out += '0';
        if (decimals_ > 0) {
            out += sep;
            out.append(static_cast<std::size_t>(-intCount), '0');
            out.append(kept, static_cast<std::size_t>(keptCount));
        }
        return true;
    }
    int first = 0;  // leading zeros of the integer part go, one stays
    while (first < intCount - 1 && kept[first] == '0') ++first;
    out.append(kept + first, static_cast<std::size_t>(intCount - first));
    if (decimals_ > 0) {
        out += sep;
        out.append(kept + intCount, static_cast<std::size_t>(keptCount - intCount));
    }
    return true;
}

}  // namespace kal
