#include "shell/GraphicsWindows.h"

#include <algorithm>

namespace kal {

void GraphicsWindowRegistry::add(GraphicsWindow* window) {
    if (!window || std::find(windows_.begin(), windows_.end(), window) != windows_.end()) return;
    windows_.push_back(window);
    makeDefault(window);
}

void GraphicsWindowRegistry::remove(GraphicsWindow* window) {
    auto it = std::find(windows_.begin(), windows_.end(), window);
    if (it == windows_.end()) return;
    windows_.erase(it);
    if (default_ == window) default_ = nullptr;
}

void GraphicsWindowRegistry::activate(GraphicsWindow* window) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) return;
    if (default_ != window) makeDefault(window);
}

GraphicsWindow* GraphicsWindowRegistry::findDefaultWindow() {
    if (!default_ && !windows_.empty()) makeDefault(windows_.front());
    return default_;
}

void GraphicsWindowRegistry::closeGraphicsWindows() {
    // A snapshot: each window is asked once, so one that stays open cannot hold the loop.
    const std::vector<GraphicsWindow*> snapshot = windows_;
    for (GraphicsWindow* w : snapshot)
        if (std::find(windows_.begin(), windows_.end(), w) != windows_.end()) w->closeWindow();
}

void GraphicsWindowRegistry::redrawGraphicsWindows(bool graphicsWindowMarked) {
    if (!graphicsWindowMarked) return;
    const std::vector<GraphicsWindow*> snapshot = windows_;
    for (GraphicsWindow* w : snapshot) w->redraw();
}

void GraphicsWindowRegistry::makeDefault(GraphicsWindow* window) {
    default_ = window;
    for (GraphicsWindow* w : windows_)
        w->setCaption(w == window ? kDefaultGraphicsCaption : kGraphicsCaption);
}

}  // namespace kal
