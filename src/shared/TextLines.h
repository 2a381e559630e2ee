#pragma once
// Splitting a text into lines and joining lines for the files the program writes.
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// CR LF, LF and CR each end a line. A final line end does not start another line, so
// "a\r\nb\r\n" and "a\nb" both give {"a", "b"}; "" gives no line.
std::vector<std::string> splitLines(std::string_view text);

// Every line followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

}  // namespace kal
