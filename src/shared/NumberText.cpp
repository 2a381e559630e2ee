#include "shared/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/Regional.h"
#include "shared/Errors.h"

namespace kal {

namespace {

// |value| as decimal digits d1 d2 ... dn (d1 != 0 unless the value is 0) and the decimal
// exponent of d1: |value| = d1.d2...dn × 10^exponent.
struct Decimal {
    std::string digits;
    int exponent = 0;
    bool isZero() const { return digits.find_first_not_of('0') == std::string::npos; }
};

Decimal toDecimal(double magnitude, int significant) {
    // The digits printf's "%.*e" gives (correctly rounded), without its cost: every number a
    // table or a batch file shows passes here.
    char buf[64];
    const auto end =
        std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific, significant - 1)
            .ptr;
    *end = '\0';
    Decimal d;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
    if (*p == 'e') d.exponent = std::atoi(p + 1);
    if (d.isZero()) d.exponent = 0;
    return d;
}

void requireFinite(double value) {
    if (!std::isfinite(value)) throw NumericError("A number that is not finite cannot be shown");
}

// Rounds `d` to its first `keep` digits, halves away from zero, and returns them; a carry
// through all of them gives one digit more and raises d.exponent. keep beyond the digits pads
// with zeros. keep = 0 gives "" or, when the first digit is 5 or more, "1" one place up;
// keep < 0 gives "" (the value rounds to zero).
std::string roundDigits(Decimal& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) {
        std::string out = d.digits;
        out.append(static_cast<std::size_t>(keep) - d.digits.size(), '0');
        return out;
    }
    if (keep < 0) return std::string();
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    std::string out = d.digits.substr(0, static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (out[static_cast<std::size_t>(i)] == '9') {
                out[static_cast<std::size_t>(i)] = '0';
            } else {
                ++out[static_cast<std::size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            out.insert(out.begin(), '1');
            ++d.exponent;
        }
    }
    return out;
}

struct Pattern {
    int intZeros = 0;   // integer digits always shown
    int intPlaces = 0;  // integer placeholders in all
    int fixedDecimals = 0;
    int optionalDecimals = 0;
    bool hasPoint = false;
    bool hasExponent = false;
    bool exponentAlwaysSigned = false;
    int exponentDigits = 0;
};

Pattern parsePattern(std::string_view s) {
    Pattern p;
    std::size_t i = 0;
    for (; i < s.size() && (s[i] == '0' || s[i] == '#'); ++i) {
        ++p.intPlaces;
        if (s[i] == '0') ++p.intZeros;
    }
    if (i < s.size() && s[i] == '.') {
        p.hasPoint = true;
        for (++i; i < s.size() && s[i] == '0'; ++i) ++p.fixedDecimals;
        for (; i < s.size() && s[i] == '#'; ++i) ++p.optionalDecimals;
    }
    if (i + 1 < s.size() && (s[i] == 'E' || s[i] == 'e') && (s[i + 1] == '+' || s[i + 1] == '-')) {
        p.hasExponent = true;
        p.exponentAlwaysSigned = s[i + 1] == '+';
        for (i += 2; i < s.size() && s[i] == '0'; ++i) ++p.exponentDigits;
        if (p.exponentDigits == 0) i = 0;  // "E+" without digits: not a pattern we know
    }
    if (i != s.size() || s.empty() || (p.intPlaces == 0 && !p.hasPoint))
        throw FormatError("Unknown number pattern \"" + std::string(s) + "\"");
    return p;
}

std::string formatFixed(double value, const Pattern& p, char sep) {
    const int decimals = p.fixedDecimals + p.optionalDecimals;
    Decimal d = toDecimal(std::fabs(value), 15);
    std::string digits;  // all digits down to the last decimal place
    int intCount;        // how many of them stand before the separator
    if (d.isZero()) {
        digits.assign(static_cast<std::size_t>(decimals), '0');
        intCount = 0;
    } else {
        const int keep = d.exponent + 1 + decimals;
        std::string kept = roundDigits(d, keep);
        if (kept.empty()) {  // rounds to zero
            digits.assign(static_cast<std::size_t>(decimals), '0');
            intCount = 0;
        } else {
            intCount = d.exponent + 1;
            if (intCount < 0) {
                kept.insert(0, static_cast<std::size_t>(-intCount), '0');
                intCount = 0;
            }
            digits = kept;
        }
    }
    std::string intPart = digits.substr(0, static_cast<std::size_t>(intCount));
    std::string fracPart = digits.substr(static_cast<std::size_t>(intCount));
    const std::size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? std::string() : intPart.substr(firstNonZero);
    if (static_cast<int>(intPart.size()) < p.intZeros)
        intPart.insert(0, static_cast<std::size_t>(p.intZeros) - intPart.size(), '0');
    while (static_cast<int>(fracPart.size()) > p.fixedDecimals && !fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    const bool zero = (intPart + fracPart).find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !zero) ? "-" : "";
    out += intPart;
    if (p.hasPoint) out += sep + fracPart;
    return out;
}

std::string formatScientific(double value, const Pattern& p, char sep) {
    const int intDigits = p.intZeros > 0 ? p.intZeros : 1;
    const int decimals = p.fixedDecimals + p.optionalDecimals;
    Decimal d = toDecimal(std::fabs(value), 15);
    std::string kept;
    int exponent = 0;
    if (d.isZero()) {
        kept.assign(static_cast<std::size_t>(intDigits + decimals), '0');
    } else {
        kept = roundDigits(d, intDigits + decimals);
        kept.resize(static_cast<std::size_t>(intDigits + decimals));  // a carry adds a trailing 0
        exponent = d.exponent - (intDigits - 1);
    }
    std::string intPart = kept.substr(0, static_cast<std::size_t>(intDigits));
    std::string fracPart = kept.substr(static_cast<std::size_t>(intDigits));
    while (static_cast<int>(fracPart.size()) > p.fixedDecimals && fracPart.back() == '0') fracPart.pop_back();
    std::string out = (value < 0 && !d.isZero()) ? "-" : "";
    out += intPart;
    if (p.hasPoint) out += sep + fracPart;
    out += 'E';
    if (exponent < 0)
        out += '-';
    else if (p.exponentAlwaysSigned)
        out += '+';
    std::string e = std::to_string(exponent < 0 ? -exponent : exponent);
    if (static_cast<int>(e.size()) < p.exponentDigits)
        e.insert(0, static_cast<std::size_t>(p.exponentDigits) - e.size(), '0');
    return out + e;
}

// The digits and exponent rule shared by the general and the signed text. `leadingZero`
// writes "0.5" rather than ".5".
std::string generalDigits(double magnitude, int significant, char sep, bool leadingZero) {
    Decimal d = toDecimal(magnitude, significant);
    if (d.isZero()) return "0";
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    const int n = static_cast<int>(d.digits.size());
    std::string out;
    if (d.exponent < -4 || d.exponent >= significant) {
        out = d.digits.substr(0, 1);
        if (n > 1) out += sep + d.digits.substr(1);
        out += d.exponent < 0 ? "E-" : "E+";
        std::string e = std::to_string(d.exponent < 0 ? -d.exponent : d.exponent);
        if (e.size() < 2) e.insert(0, 1, '0');
        return out + e;
    }
    if (d.exponent >= 0) {
        const int intCount = d.exponent + 1;
        if (n <= intCount) return d.digits + std::string(static_cast<std::size_t>(intCount - n), '0');
        return d.digits.substr(0, static_cast<std::size_t>(intCount)) + sep +
               d.digits.substr(static_cast<std::size_t>(intCount));
    }
    out = leadingZero ? "0" : "";
    out += sep;
    out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
    return out + d.digits;
}

std::string generalWith(double value, int significant, char sep) {
    requireFinite(value);
    std::string body = generalDigits(std::fabs(value), significant, sep, true);
    return (value < 0 && body != "0") ? "-" + body : body;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Scans a number at the front of `s`: sign, digits, one decimal point (any of `points`),
// digits, and an exponent when complete. Returns the characters used (0 when no digit was
// found) and the number in C form in `normal`.
std::size_t scanNumber(std::string_view s, std::string_view points, std::string& normal, int& exponentSign) {
    std::size_t i = 0;
    normal.clear();
    exponentSign = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') normal.push_back('-');
        ++i;
    }
    bool digits = false;
    for (; i < s.size() && isDigit(s[i]); ++i) normal.push_back(s[i]), digits = true;
    if (i < s.size() && points.find(s[i]) != std::string_view::npos) {
        normal.push_back('.');
        for (++i; i < s.size() && isDigit(s[i]); ++i) normal.push_back(s[i]), digits = true;
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        int sign = 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) sign = s[j++] == '-' ? -1 : 1;
        if (j < s.size() && isDigit(s[j])) {
            normal.push_back('e');
            if (sign < 0) normal.push_back('-');
            for (; j < s.size() && isDigit(s[j]); ++j) normal.push_back(s[j]);
            exponentSign = sign;
            i = j;
        }
    }
    return i;
}

// Converts the C-form text; returns false when the value is beyond the range of a double.
bool convert(const std::string& normal, int exponentSign, double& out) {
    double v = 0;
    auto r = std::from_chars(normal.data(), normal.data() + normal.size(), v);
    if (r.ec == std::errc::result_out_of_range) {
        if (exponentSign < 0) {  // too small: it is 0
            out = 0.0;
            return true;
        }
        return false;
    }
    if (r.ec != std::errc() || !std::isfinite(v)) return false;
    out = v == 0.0 ? 0.0 : v;  // no negative zero
    return true;
}

double wholeNumber(std::string_view text, std::string_view points) {
    std::size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    std::string_view body = text.substr(b, e - b);
    std::string normal;
    int exponentSign = 0;
    const std::size_t used = scanNumber(body, points, normal, exponentSign);
    if (used == 0 || used != body.size()) throw FormatError("\"" + std::string(text) + "\" is not a number");
    double v = 0;
    if (!convert(normal, exponentSign, v))
        throw FormatError("\"" + std::string(text) + "\" is too large a number");
    return v;
}

double leading(std::string_view text, std::string_view points) {
    std::size_t b = 0;
    while (b < text.size() && (isBlank(text[b]) || text[b] == '\n' || text[b] == '\r')) ++b;
    std::string normal;
    int exponentSign = 0;
    if (scanNumber(text.substr(b), points, normal, exponentSign) == 0) return 0.0;
    double v = 0;
    if (!convert(normal, exponentSign, v))
        throw NumericError("Overflow reading \"" + std::string(text) + "\"");
    return v;
}

std::string_view regionalPoint() {
    static const char points[] = ".,";
    return platform::Regional::decimalSeparator() == ',' ? std::string_view(points + 1, 1)
                                                         : std::string_view(points, 1);
}

}  // namespace

std::string formatNumber(double value, std::string_view pattern, char decimalSeparator) {
    requireFinite(value);
    if (pattern.empty()) return generalText(value, decimalSeparator);
    const Pattern p = parsePattern(pattern);
    return p.hasExponent ? formatScientific(value, p, decimalSeparator)
                         : formatFixed(value, p, decimalSeparator);
}

std::string formatNumber(double value, std::string_view pattern) {
    return formatNumber(value, pattern, platform::Regional::decimalSeparator());
}

std::string generalText(double value, char decimalSeparator) {
    return generalWith(value, 15, decimalSeparator);
}
std::string generalText(double value) { return generalText(value, platform::Regional::decimalSeparator()); }

std::string generalTextSingle(float value, char decimalSeparator) {
    return generalWith(static_cast<double>(value), 7, decimalSeparator);
}
std::string generalTextSingle(float value) {
    return generalTextSingle(value, platform::Regional::decimalSeparator());
}

std::string signedText(double value) {
    requireFinite(value);
    std::string body = generalDigits(std::fabs(value), 15, '.', false);
    return ((value < 0 && body != "0") ? "-" : " ") + body;
}

double strictNumber(std::string_view text) { return wholeNumber(text, regionalPoint()); }
double strictNumber(std::string_view text, char decimalSeparator) {
    return wholeNumber(text, std::string_view(&decimalSeparator, 1));
}
double ownNumber(std::string_view text) { return wholeNumber(text, ".,"); }
double leadingNumber(std::string_view text) { return leading(text, "."); }
double leadingOwnNumber(std::string_view text) { return leading(text, ".,"); }

std::int16_t roundToInt16(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max()))
        throw NumericError("Overflow: " + generalText(std::isfinite(value) ? value : 0.0) +
                           " does not fit a 16-bit integer");
    return static_cast<std::int16_t>(r);
}

std::int32_t roundToInt32(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max()))
        throw NumericError("Overflow: " + generalText(std::isfinite(value) ? value : 0.0) +
                           " does not fit a 32-bit integer");
    return static_cast<std::int32_t>(r);
}

std::string decimalsPattern(int digits) {
    if (digits <= 0) return "0";
    return "0." + std::string(static_cast<std::size_t>(digits), '0');
}

}  // namespace kal
