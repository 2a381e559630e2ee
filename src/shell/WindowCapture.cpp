#include "shell/WindowCapture.h"

namespace kal {

std::optional<PixelRect> captureFormClientRect(int clientWidth, int clientHeight) {
    const int w = clientWidth - 5, h = clientHeight - 5;
    if (w <= 0 || h <= 0) return std::nullopt;
    return PixelRect{3, 3, w, h};
}

}  // namespace kal
