#pragma once
// The standard 16-colour palette the graphics overlays name their colours by (0 black ...
// 15 bright white), as R + 256 G + 65536 B.
#include <array>

#include "shared/ImageBuffer.h"

namespace kal {

inline constexpr std::array<StoredColour, 16> kStandardPalette = {
    storedColour(0, 0, 0),      storedColour(0, 0, 128),     storedColour(0, 128, 0),
    storedColour(0, 128, 128),  storedColour(128, 0, 0),     storedColour(128, 0, 128),
    storedColour(128, 128, 0),  storedColour(192, 192, 192), storedColour(128, 128, 128),
    storedColour(0, 0, 255),    storedColour(0, 255, 0),     storedColour(0, 255, 255),
    storedColour(255, 0, 0),    storedColour(255, 0, 255),   storedColour(255, 255, 0),
    storedColour(255, 255, 255)};

// Palette entry `index`; an index outside 0..15 wraps as the drawing surface's colour numbers do.
constexpr StoredColour paletteColour(int index) {
    return kStandardPalette[static_cast<unsigned>(index) & 15u];
}

namespace palette {
inline constexpr int Black = 0, Grey = 8, LightBlue = 9, LightGreen = 10, LightRed = 12, LightMagenta = 13,
                     LightYellow = 14;
}  // namespace palette

}  // namespace kal
