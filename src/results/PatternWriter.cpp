#include "results/PatternWriter.h"

#include <charconv>
#include <cmath>
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
