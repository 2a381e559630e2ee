#pragma once
// Restoring and storing a window's position and size through the settings file (section
// "Window", twips), converted with the logical DPI of the window's screen. A restored window
// is kept on its screen (a child window, such as an MDI child, inside its visible parent), so
// geometry stored on a larger or a vanished screen never puts a window out of reach.
#include <QWidget>
#include <string>

namespace kal {

// Sets the window's outer geometry from the keys name & "Height", "Top", "Width", "Left"; a
// missing key gives 1000 twips (RestoreWindowPos).
void restoreWindowPos(QWidget* window, const std::string& name, const std::string& iniPath);

// Writes the window's outer geometry under the same keys, Height, Top, Width, Left, in one
// rewrite of the file (SaveWindowPos). Returns false, with the reason in *error when given, when the file
// cannot be written: a window closing must not fail on it.
bool saveWindowPos(QWidget* window, const std::string& name, const std::string& iniPath,
                   std::string* error = nullptr);

}  // namespace kal
