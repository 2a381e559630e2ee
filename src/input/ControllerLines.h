#pragma once
// Helpers shared by the robot-controller readers.
#include <cstdint>
#include <string>
#include <string_view>

#include "input/ReadOptions.h"

namespace kal::controller {

// Refuses the file: the message names the file and the row; `heading`, when given, is the
// first line of the message (the FANUC reader's own text).
[[noreturn]] void refuseRow(const ReadOptions& options, const std::string& path, std::int32_t row,
                            const std::string& what, const std::string& heading = {});

// A number written with "." as the decimal point, divided by `divisor`; refuses the row when the
// text is no number or the result is not finite.
double number(std::string_view text, double divisor, const ReadOptions& options, const std::string& path,
              std::int32_t row, std::string_view what, const std::string& heading = {});

// Case-insensitive comparison of ASCII keywords.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kal::controller
