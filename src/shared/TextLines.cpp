#include "shared/TextLines.h"

#include "shared/TextEncoding.h"

namespace kal {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

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

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string_view> views;
    splitInto(text, views);
    return std::vector<std::string>(views.begin(), views.end());
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines) size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string_view trimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

}  // namespace kal
