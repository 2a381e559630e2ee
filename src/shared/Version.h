#pragma once
// The program's version and the main window's caption.
#include <string>

namespace kal {

inline constexpr int kVersionMajor = KALVORETH_VERSION_MAJOR;
inline constexpr int kVersionMinor = KALVORETH_VERSION_MINOR;
inline constexpr int kVersionRevision = KALVORETH_VERSION_PATCH;

// "2.0.63"
inline std::string versionText() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

inline constexpr const char* kCaptionPrefix = "Kalvoreth Version ";

}  // namespace kal
