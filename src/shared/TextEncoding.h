#pragma once
// Texts are UTF-8 in memory. Files the program reads are UTF-8 when the bytes are valid UTF-8
// and Windows-1252 otherwise (files written by older programs); a file the program rewrites
// keeps the encoding it was read in.
#include <string>
#include <string_view>

namespace kal {

enum class TextEncoding { Utf8, Windows1252 };

struct DecodedText {
    std::string text;  // UTF-8, without a byte-order mark
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;  // the file began with the UTF-8 byte-order mark
};

bool isValidUtf8(std::string_view bytes);

// Each byte one character. The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become the control characters of the same code, so every byte string survives
// a round trip.
std::string windows1252ToUtf8(std::string_view bytes);

// A character outside Windows-1252 is written as "?" and sets *lossy (when given).
std::string utf8ToWindows1252(std::string_view utf8, bool* lossy = nullptr);

// UTF-8 when valid (a leading byte-order mark is dropped), else Windows-1252.
DecodedText decodeText(std::string_view bytes);

// The bytes of `utf8` in `encoding`; *lossy as for utf8ToWindows1252.
std::string encodeText(std::string_view utf8, TextEncoding encoding, bool byteOrderMark = false,
                       bool* lossy = nullptr);

}  // namespace kal
