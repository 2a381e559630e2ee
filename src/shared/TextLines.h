#pragma once
// The lines of a text: reading a text file given as bytes into lines (decoded to UTF-8), splitting
// raw bytes or a text held in memory into lines, and joining lines for the files the program
// writes. CR LF, LF and CR each end a line everywhere; a line end at the very end of the text opens
// no further line, so "a\r\nb\r\n" and "a\nb" both give {"a", "b"} and "" gives no line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// The lines of a text file given as bytes. A UTF-8 byte-order mark is dropped; the text is taken
// as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise (converted to UTF-8, the encoding
// every text has in memory).
class TextLines {
  public:
    // `bytes` must outlive this object when it is valid UTF-8 (the lines then view it directly).
    explicit TextLines(std::string_view bytes);
    TextLines(const TextLines&) = delete;
    TextLines& operator=(const TextLines&) = delete;

    std::int32_t size() const { return static_cast<std::int32_t>(lines_.size()); }
    bool empty() const { return lines_.empty(); }
    // Line `i`, 0-based; its line number in messages is i + 1.
    std::string_view operator[](std::int32_t i) const { return lines_[static_cast<std::size_t>(i)]; }
    const std::vector<std::string_view>& lines() const { return lines_; }

    bool hadByteOrderMark() const { return bom_; }
    bool wasUtf8() const { return utf8_; }

  private:
    std::string decoded_;  // holds the converted text when the file was not UTF-8
    std::vector<std::string_view> lines_;
    bool bom_ = false;
    bool utf8_ = true;
};

// Splits raw bytes into lines without any decoding (for rewriting a file in the encoding it was
// read in). A UTF-8 byte-order mark at the start is left out of the lines.
std::vector<std::string_view> splitRawLines(std::string_view bytes);

// Splits a text already in memory into lines, each copied.
std::vector<std::string> splitLines(std::string_view text);

// Every line followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Spaces and Tabs, the blanks trimmed off the ends of lines and fields.
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view trimBlanks(std::string_view s);

}  // namespace kal
