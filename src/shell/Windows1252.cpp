#include "shell/Windows1252.h"

#include <array>
#include <cstdint>

namespace kal {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The byte for a code point, or -1 when the code page has none.
int byteFor(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace

std::string encodeWindows1252(std::string_view utf8, bool* lossy) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<std::uint8_t>(utf8[i]);
        char32_t c = 0;
        std::size_t len = 0;
        if (b < 0x80) {
            c = b, len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F, len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F, len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07, len = 4;
        }
        bool valid = len > 0 && i + len <= utf8.size();
        for (std::size_t k = 1; valid && k < len; ++k) {
            auto cb = static_cast<std::uint8_t>(utf8[i + k]);
            if ((cb & 0xC0) != 0x80) valid = false;
            c = (c << 6) | (cb & 0x3F);
        }
        // Overlong forms do not count as the character they spell.
        if (valid && ((len == 2 && c < 0x80) || (len == 3 && c < 0x800) || (len == 4 && c < 0x10000)))
            valid = false;
        int byte = valid ? byteFor(c) : -1;
        if (byte < 0) {
            out += '?';
            if (lossy) *lossy = true;
        } else {
            out += static_cast<char>(byte);
        }
        i += valid ? len : 1;
    }
    return out;
}

std::string decodeWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<std::uint8_t>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

}  // namespace kal
