#pragma once
// The main window's bookkeeping of its graphics windows: which are open, in the order they were
// loaded, and which one is the default window that the main window's graphics commands, the
// state refresher and the settings dialogs act on.
//
// One registry owns the list and the default window, so the count cannot drift from the list
// and a window is the default one by being registered so, not by a caption that anyone could
// set. It sets the captions itself: "Screen - DEFAULT" on the default window, "Screen" on the
// others.
#include <cstdint>
#include <string>
#include <vector>

#include "shell/ProgramLogic.h"

namespace kal {

inline constexpr const char* kDefaultGraphicsCaption = "Screen - DEFAULT";
inline constexpr const char* kGraphicsCaption = "Screen";

// What the main window needs of a graphics window; the graphics window implements it.
class GraphicsWindow {
  public:
    virtual ~GraphicsWindow() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual GraphicsModes modes() const = 0;
    // Takes the modes back after the refresher (set-line and delete-line cleared in line mode off).
    virtual void setModes(const GraphicsModes& modes) = 0;
    virtual void setPointer(GraphicsPointer pointer) = 0;
    virtual void redraw() = 0;  // Stelle_Grafik_dar
    // Unloads the window; its own unload handling runs and ends in `remove`.
    virtual void closeWindow() = 0;
};

class GraphicsWindowRegistry {
  public:
    // A window that has just loaded: it becomes the default window.
    void add(GraphicsWindow* window);
    // A window that unloads. When it was the default one, none is default until the next
    // activation or `findDefaultWindow`.
    void remove(GraphicsWindow* window);
    // A window that the user activated becomes the default window.
    void activate(GraphicsWindow* window);

    // The default window; when none is, the first one loaded becomes it (findLFDFORM). Null when no graphics
    // window is open (and then no caption changes).
    GraphicsWindow* findDefaultWindow();
    // The default window without choosing one.
    GraphicsWindow* defaultWindow() const { return default_; }

    // Number of open graphics windows (GraphicsWindowCount).
    std::int32_t windowCount() const { return static_cast<std::int32_t>(windows_.size()); }
    const std::vector<GraphicsWindow*>& windows() const { return windows_; }

    // Unloads every graphics window once, even one that refuses to go (CloseAllGraphicsWindows).
    void closeGraphicsWindows();
    // Redraws every graphics window in load order, only while "Graphics Window" is checked
    // (UpdateAllGraphicsWindows).
    void redrawGraphicsWindows(bool graphicsWindowMarked);

  private:
    void makeDefault(GraphicsWindow* window);

    std::vector<GraphicsWindow*> windows_;  // load order
    GraphicsWindow* default_ = nullptr;
};

}  // namespace kal
