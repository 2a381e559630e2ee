#include "shared/Tokenizers.h"

namespace kal {

namespace {

// Bytes of the UTF-8 character starting at i (1 for a stray byte).
std::size_t charLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF8 ? 4 : 1;
    return i + len <= s.size() ? len : 1;
}

bool isOneCharacter(std::string_view d) { return !d.empty() && charLength(d, 0) == d.size(); }

bool delimiterAt(std::string_view s, std::size_t i, std::string_view d, bool usable) {
    return usable && s.compare(i, d.size(), d) == 0;
}

// þ (U+00FE) and ÿ (U+00FF), or the raw bytes 254 and 255.
bool isDropped(std::string_view s, std::size_t i, std::size_t len) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (len == 1) return b == 0xFE || b == 0xFF;
    return len == 2 && b == 0xC3 &&
           (static_cast<unsigned char>(s[i + 1]) == 0xBE || static_cast<unsigned char>(s[i + 1]) == 0xBF);
}

}  // namespace

void takeBatchToken(std::string& text, std::string& token, std::string_view delimiter) {
    token.clear();
    const bool usable = isOneCharacter(delimiter);
    std::size_t i = 0;
    while (i < text.size() && delimiterAt(text, i, delimiter, usable)) i += delimiter.size();
    const std::size_t start = i;
    while (i < text.size() && !delimiterAt(text, i, delimiter, usable)) i += charLength(text, i);
    token.assign(text, start, i - start);
    if (i < text.size()) i += delimiter.size();
    text.erase(0, i);
}

void takeFieldToken(std::string& text, std::string& token, std::string_view delimiter) {
    token.clear();
    const bool usable = isOneCharacter(delimiter);
    std::size_t i = 0;
    while (i < text.size() && delimiterAt(text, i, delimiter, usable)) i += delimiter.size();
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    while (i < text.size()) {
        if (delimiterAt(text, i, delimiter, usable)) {
            i += delimiter.size();
            break;
        }
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            break;
        }
        const std::size_t len = charLength(text, i);
        if (!isDropped(text, i, len)) token.append(text, i, len);
        i += len;
    }
    text.erase(0, i);
}

}  // namespace kal
