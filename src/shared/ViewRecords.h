#pragma once
// The view record of a graphics window and the layout of one flag (point label). The default
// view record is read from the INI file at start-up; the job file stores whole records.
// The fields are filled in with the settings file.
#include <cstdint>
#include <string>
#include <vector>

namespace kal {

struct FahneRecord {
    bool operator==(const FahneRecord&) const = default;
};

struct ScreenProperties {
    bool operator==(const ScreenProperties&) const = default;
};

// Display switches of the graphics, INI section "GraphicsSettings".
struct GraphicsFlagSet {
    bool operator==(const GraphicsFlagSet&) const = default;
};

}  // namespace kal
