#include "shell/ui/WindowPositions.h"

#include <QGuiApplication>
#include <QScreen>

#include "shared/WindowPos.h"
#include "shared/ui/WindowPosQt.h"

namespace kal {

void WindowPositions::restore(QWidget* window, const std::string& name) const {
    if (!window || job_.IniFilePath.empty()) return;
    restoreWindowPos(window, name, job_.IniFilePath);
}

void WindowPositions::store(QWidget* window, const std::string& name) const {
    if (!window || job_.IniFilePath.empty()) return;
    if (writable_ && !writable_()) return;
    std::string why;
    if (!saveWindowPos(window, name, job_.IniFilePath, &why) && report_) report_(why);
}

int twipsOnScreen(const QWidget* window, double twips) {
    const QScreen* screen = window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return twipsToPixels(twips, screen ? screen->logicalDotsPerInch() : 96.0);
}

}  // namespace kal
