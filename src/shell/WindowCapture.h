#pragma once
// Which part of a window's client area a capture takes: all of it but 3 pixels at the left and
// top and 2 at the right and bottom edges. A window too small for that gives no picture.
#include <optional>

#include "shared/WindowPos.h"

namespace kal {

// clientWidth, clientHeight: the client area in pixels.
std::optional<PixelRect> captureFormClientRect(int clientWidth, int clientHeight);

}  // namespace kal
