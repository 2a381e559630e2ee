#pragma once
// What every reader of point, robot, profile and network files is given besides the bytes, and the
// one way they refuse a file: the message goes to the user through the prompter, then a FileError
// with the file and the line ends the read. A reader's caller therefore only has to stop the load
// on a FileError; the user has been told already.
#include <cstdint>
#include <string>

#include "platform/Prompter.h"
#include "platform/Regional.h"

namespace kal {

struct ReadOptions {
    // Messages and questions; null answers every question No and shows nothing (fuzzing).
    platform::Prompter* prompter = nullptr;
    // The system's decimal separator ('.' or ','), for the ASCII layouts and the profile.
    char decimalSeparator = platform::Regional::decimalSeparator();
    // Display units per millimetre and per radian: file values are in display units.
    double lengthFactor = 1.0;
    double angleFactor = 1.0;
    // Name of the display length unit, for the shape profile's report.
    std::string lengthUnitName = "millimeter";
};

// Lines longer than this are refused before anything else is done with them: no point, robot or
// profile line comes near it, and a file of one huge line is not a point file.
inline constexpr std::size_t kMaxLineLength = 65536;

// Shows `message` (OK button) and throws FileError(path, line, message).
[[noreturn]] void refuseFile(const ReadOptions& options, const std::string& path, std::int32_t line,
                             const std::string& message);

// Shows an OK message; nothing when there is no prompter.
void tell(const ReadOptions& options, const std::string& message);

// Asks a Yes/No question; No when there is no prompter.
bool askYes(const ReadOptions& options, const std::string& question, const std::string& title);

// Throws std::invalid_argument unless the unit factors are positive and finite (0 means the
// units were never fixed, and dividing by it would store infinities).
void checkUnitFactors(const ReadOptions& options);

}  // namespace kal
