#pragma once
// Windows-1252, the single-byte code page in which the job file stores its texts (one byte per
// character). Texts are UTF-8 in memory.
#include <string>
#include <string_view>

namespace kal {

// Encodes UTF-8 text as Windows-1252. A character the code page cannot hold (and any byte that is
// not valid UTF-8) becomes "?", and *lossy is set to true (when given); it is never reset here.
std::string encodeWindows1252(std::string_view utf8, bool* lossy = nullptr);

// Decodes Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the control characters of the same number, so that every byte sequence
// survives a decode and encode unchanged.
std::string decodeWindows1252(std::string_view bytes);

}  // namespace kal
