#include "shared/TextEncoding.h"

#include <cstdint>

namespace kal {

namespace {

// Code points of the bytes 0x80..0x9F in Windows-1252; undefined bytes keep their own code.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one code point of valid UTF-8 at i, advancing i; returns U+FFFD on a bad sequence.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (len == 0 || i + static_cast<std::size_t>(len) > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += static_cast<std::size_t>(len);
    return cp;
}

constexpr std::string_view kBom = "\xEF\xBB\xBF";

}  // namespace

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int len;
        char32_t cp, min;
        if ((b >> 5) == 0x6) {
            len = 2, cp = b & 0x1F, min = 0x80;
        } else if ((b >> 4) == 0xE) {
            len = 3, cp = b & 0x0F, min = 0x800;
        } else if ((b >> 3) == 0x1E) {
            len = 4, cp = b & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(len) > s.size()) return false;
        for (int k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(len);
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        appendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view utf8, bool* lossy) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = nextCodePoint(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32; ++k)
            if (kHigh[k] == cp) found = k;
        if (found >= 0) {
            out.push_back(static_cast<char>(0x80 + found));
        } else {
            out.push_back('?');
            if (lossy) *lossy = true;
        }
    }
    return out;
}

DecodedText decodeText(std::string_view bytes) {
    DecodedText d;
    if (isValidUtf8(bytes)) {
        if (bytes.substr(0, kBom.size()) == kBom) {
            d.byteOrderMark = true;
            bytes.remove_prefix(kBom.size());
        }
        d.text.assign(bytes);
        d.encoding = TextEncoding::Utf8;
    } else {
        d.text = windows1252ToUtf8(bytes);
        d.encoding = TextEncoding::Windows1252;
    }
    return d;
}

std::string encodeText(std::string_view utf8, TextEncoding encoding, bool byteOrderMark, bool* lossy) {
    if (encoding == TextEncoding::Windows1252) return utf8ToWindows1252(utf8, lossy);
    std::string out = byteOrderMark ? std::string(kBom) : std::string();
    out.append(utf8);
    return out;
}

}  // namespace kal
