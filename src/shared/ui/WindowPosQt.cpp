#include "shared/ui/WindowPosQt.h"

#include <QGuiApplication>
#include <QScreen>

#include "shared/Errors.h"
#include "shared/WindowPos.h"

namespace kal {

namespace {

QScreen* screenOf(const QWidget* w) {
    QScreen* s = w->screen();
    return s ? s : QGuiApplication::primaryScreen();
}

double dpiOf(const QWidget* w) {
    QScreen* s = screenOf(w);
    return s ? s->logicalDotsPerInch() : 96.0;
}

PixelRect fromQRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// Where the window must stay: its screen's available area, or for a child window its visible
// parent (in the parent's coordinates).
PixelRect areaFor(const QWidget* w) {
    const QWidget* parent = w->isWindow() ? nullptr : w->parentWidget();
    if (parent && parent->isVisible() && parent->width() > 0 && parent->height() > 0)
        return fromQRect(parent->rect());
    QScreen* s = screenOf(w);
    if (!s) return {0, 0, 1 << 20, 1 << 20};
    const QRect a = s->availableGeometry();
    return parent ? PixelRect{0, 0, a.width(), a.height()} : fromQRect(a);
}

}  // namespace

void restoreWindowPos(QWidget* window, const std::string& name, const std::string& iniPath) {
    if (!window) return;
    const PixelRect r = clampToArea(toPixels(readWindowTwips(iniPath, name), dpiOf(window)), areaFor(window));
    if (window->isWindow()) {
        // move() places the frame; resize() sets the inside, so take the frame off the outer size.
        const QSize frame = window->frameGeometry().size() - window->geometry().size();
        window->move(r.left, r.top);
        window->resize(std::max(1, r.width - frame.width()), std::max(1, r.height - frame.height()));
    } else {
        window->setGeometry(r.left, r.top, r.width, r.height);
    }
}

bool saveWindowPos(QWidget* window, const std::string& name, const std::string& iniPath, std::string* error) {
    if (!window) return false;
    const QRect outer = window->isWindow() ? window->frameGeometry() : window->geometry();
    try {
        writeWindowTwips(iniPath, name, toTwips(fromQRect(outer), dpiOf(window)));
        return true;
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return false;
    }
}

}  // namespace kal
