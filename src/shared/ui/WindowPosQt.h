#pragma once
// Restoring and storing a window's position and size through the settings file (section
// "Window", twips), converted with the logical DPI of the window's screen. A restored window
// is kept on its screen (a child window, such as an MDI child, inside its visible parent), so
// geometry stored on a larger or a vanished screen never puts a window out of reach.
#include <QSize>
#include <QWidget>
#include <string>

namespace kal {

// The smallest outer size at which a window is still usable: its minimum size hint, taken from
// its content for an MDI sub-window, or 200 x 150 pixels in each direction the window gives no
// minimum for. A window's own explicit minimum counts as its hint.
QSize usableMinimumSize(const QWidget* window);

// Marks a window's content that shows its controls through scroll bars of its own where it is
// smaller than they need: its size hint is then the size at which none scrolls.
inline constexpr const char* kScrollsInsideProperty = "kalScrollsInside";

// The outer size at which all of a window shows: for content that scrolls inside itself the
// window's size hint, otherwise (and never less than) its usable minimum.
QSize wholeSize(const QWidget* window);

// Sets the window's outer geometry from the keys name & "Height", "Top", "Width", "Left"; a
// missing key gives 1000 twips (RestoreWindowPos). A stored size below the window's usable
// minimum (a window collapsed to its title bar by an earlier arrangement, or a missing key) is
// not taken: the window keeps the size it has, at least that minimum, and takes only the
// position.
void restoreWindowPos(QWidget* window, const std::string& name, const std::string& iniPath);

// Writes the window's outer geometry under the same keys, Height, Top, Width, Left, in one
// rewrite of the file (SaveWindowPos). A maximised or minimised window stores the place it has
// when shown normally, not the work area it fills. Returns false, with the reason in *error when
// given, when the file cannot be written: a window closing must not fail on it.
bool saveWindowPos(QWidget* window, const std::string& name, const std::string& iniPath,
                   std::string* error = nullptr);

}  // namespace kal
