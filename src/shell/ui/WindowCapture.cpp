#include "shell/ui/WindowCapture.h"

#include "shell/WindowCapture.h"

namespace kal {

QImage captureClientArea(QWidget* window) {
    if (!window) return {};
    const auto r = captureFormClientRect(window->width(), window->height());
    if (!r) return {};
    return window->grab(QRect(r->left, r->top, r->width, r->height)).toImage();
}

bool captureToClipboard(QWidget* window, platform::QtClipboard& clipboard) {
    const QImage picture = captureClientArea(window);
    if (picture.isNull()) return false;
    clipboard.setImage(picture);
    return true;
}

bool captureToFile(QWidget* window, const QString& path) {
    const QImage picture = captureClientArea(window);
    return !picture.isNull() && picture.save(path);
}

}  // namespace kal
