#include "input/TextLines.h"

#include <cstring>

namespace kal {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Code points of bytes 0x80..0x9F in Windows-1252; the five unassigned bytes keep their C1 code.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void splitInto(std::string_view text, std::vector<std::string_view>& lines) {
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        // memchr-like scan for the next CR or LF.
        const char* q = p;
        while (q < end && *q != '\r' && *q != '\n') ++q;
        lines.emplace_back(p, static_cast<std::size_t>(q - p));
        if (q == end) break;
        if (*q == '\r' && q + 1 < end && q[1] == '\n') ++q;
        p = q + 1;
    }
}

}  // namespace

bool isValidUtf8(std::string_view s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const auto* end = p + s.size();
    while (p < end) {
        // Fast path over ASCII, eight bytes at a time.
        while (end - p >= 8) {
            std::uint64_t w;
            std::memcpy(&w, p, 8);
            if (w & 0x8080808080808080ull) break;
            p += 8;
        }
        if (p >= end) break;
        unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int n;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF)
            n = 1, cp = c & 0x1F;
        else if (c >= 0xE0 && c <= 0xEF)
            n = 2, cp = c & 0x0F;
        else if (c >= 0xF0 && c <= 0xF4)
            n = 3, cp = c & 0x07;
        else
            return false;
        if (end - p <= n) return false;
        for (int k = 1; k <= n; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += n + 1;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80)
            out += ch;
        else if (c < 0xA0)
            appendUtf8(out, kCp1252High[c - 0x80]);
        else
            appendUtf8(out, c);
    }
    return out;
}

std::string_view trimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

TextLines::TextLines(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bom_ = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    utf8_ = isValidUtf8(bytes);
    std::string_view text = bytes;
    if (!utf8_) {
        decoded_ = windows1252ToUtf8(bytes);
        text = decoded_;
    }
    lines_.reserve(text.size() / 32 + 1);
    splitInto(text, lines_);
}

std::vector<std::string_view> splitRawLines(std::string_view bytes) {
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
    std::vector<std::string_view> lines;
    splitInto(bytes, lines);
    return lines;
}

}  // namespace kal
