#include "results/PatternWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>

#include "shared/NumberText.h"

namespace kal {

namespace {

constexpr int kSignificant = 15;

// Splits a scientific text "d.ddde±x" into its digits and exponent.
void splitScientific(const char* begin, const char* end, char* digits, int& count, int& exponent) {
    count = 0;
    const char* p = begin;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[count++] = *p;
    exponent = 0;
    if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
}

// The digits of `magnitude` correctly rounded to 15 significant digits. The shortest text that
// reads back as the value is exact enough for that: no other number reads back as it, so a
// rounding boundary of the 15-digit grid cannot lie between it and the value, unless the text is
// itself the boundary (…5 in the 16th digit); then the exact rounding decides.
bool significantDigits(double magnitude, char* digits, int& count, int& exponent) {
    char buf[48];
    auto r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    if (r.ec != std::errc()) return false;
    splitScientific(buf, r.ptr, digits, count, exponent);
    if (count <= kSignificant) return true;
    const bool tie = count == kSignificant + 1 && digits[kSignificant] == '5';
    if (tie) {
        r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, kSignificant - 1);
        if (r.ec != std::errc()) return false;
        splitScientific(buf, r.ptr, digits, count, exponent);
        return true;
    }
    const bool up = digits[kSignificant] >= '5';
    count = kSignificant;
    if (up) {
        int i = count - 1;
        for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
        if (i >= 0) {
            ++digits[i];
        } else {  // 9.99…9 became 10.00…0
            digits[0] = '1';
            ++exponent;
        }
    }
    return true;
}

}  // namespace

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

// Most values of a report are a few thousand units with a few decimals. Scaled to whole units of
// the last decimal they stay below 1e8, where the product's error and the 15-digit rounding move
// the value by far less than 1e-6 of a unit: unless the value lies within that distance of a
// half, rounding it directly gives the digits the two-step rounding gives. Near a half the exact
// road decides.
bool PatternWriter::appendSmall(std::string& out, double value, char sep) const {
    static constexpr std::uint64_t kPow10[] = {1,       10,       100,       1000,       10000,      100000,
                                               1000000, 10000000, 100000000, 1000000000, 10000000000};
    if (decimals_ > 10) return false;
    const std::uint64_t unit = kPow10[decimals_];
    const double scaled = std::fabs(value) * static_cast<double>(unit);
    if (!(scaled < 1e8)) return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;  // exact below 2^52
    if (std::fabs(fraction - 0.5) <= 1e-6) return false;
    const std::uint64_t q = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    char text[48];
    char* p = text;
    if (q != 0 && value < 0) *p++ = '-';
    p = std::to_chars(p, text + sizeof text, q / unit).ptr;
    if (decimals_ > 0) {
        *p++ = sep;
        std::uint64_t rest = q % unit;
        for (int i = decimals_ - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        p += decimals_;
    }
    out.append(text, static_cast<std::size_t>(p - text));
    return true;
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
    if (appendSmall(out, value, sep)) return true;
    // The 15 significant digits, as formatNumber takes them (correctly rounded, like printf).
    char digits[24];
    int count = 0, exponent = 0;
    if (!significantDigits(std::fabs(value), digits, count, exponent)) return false;

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
    // The text goes together in a local buffer and into `out` in one append.
    char text[kSignificant + 96];
    int n = 0;
    auto zeros = [&](int k) {
        for (int i = 0; i < k; ++i) text[n++] = '0';
    };
    if (zero) {
        text[n++] = '0';
        if (decimals_ > 0) text[n++] = sep, zeros(decimals_);
    } else {
        if (value < 0) text[n++] = '-';
        const int intCount = exponent + 1;
        if (intCount <= 0) {
            text[n++] = '0';
            text[n++] = sep;  // a value below 1 that does not round to 0 has decimals
            zeros(-intCount);
            for (int i = 0; i < keptCount; ++i) text[n++] = kept[i];
        } else {
            int first = 0;  // leading zeros of the integer part go, one stays
            while (first < intCount - 1 && kept[first] == '0') ++first;
            for (int i = first; i < intCount; ++i) text[n++] = kept[i];
            if (decimals_ > 0) {
                text[n++] = sep;
                for (int i = intCount; i < keptCount; ++i) text[n++] = kept[i];
            }
        }
    }
    out.append(text, static_cast<std::size_t>(n));
    return true;
}

}  // namespace kal
