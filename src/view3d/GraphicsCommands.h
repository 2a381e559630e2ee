#pragma once
// The main window's graphics commands that change the default graphics window's view or modes:
// point size, vector mode, the analyse mode's vector scale ("more", "less") and the flag and line
// modes. Each works on the window's state and calls back for the redraw, the store into the undo
// ring and the menu refresh; the window-specific parts (pointer, picture) stay with the window.
#include <functional>

#include "view3d/ScreenModel.h"

namespace kal {

// "Bigger": BigNess + 1, redraw, store.
void pointsBigger(ScreenModel& screen, const ScreenActions& actions);
// "Smaller": BigNess − 1, redraw, store; at 1 (or below) nothing happens. True when it changed.
bool pointsSmaller(ScreenModel& screen, const ScreenActions& actions);
// "Small Points (Pixel)": BigNess := 1, redraw, store.
void smallPoints(ScreenModel& screen, const ScreenActions& actions);
// "Vector Mode Active": VectorMode flips; the menus follow (`refresh`); redraw; store.
void toggleVectorMode(ScreenModel& screen, const ScreenActions& actions,
                      const std::function<void()>& refresh);
// "longer" / "shorter": the window's own vector-scale step, then one more redraw.
void vectorsLongerCommand(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions);
void vectorsShorterCommand(ScreenModel& screen, const GraphicsSession& session, const ScreenActions& actions);
// "more" / "less" of the analyse mode: the vector scale × or ÷ 1.5 within the same limits, then a
// redraw; the view is not stored. False when the limit was hit.
bool analyseMore(ScreenModel& screen, const ScreenActions& actions);
bool analyseLess(ScreenModel& screen, const ScreenActions& actions);

// What the window does after a mode command besides the menu refresh.
struct ModeToggle {
    bool pointerToDefault = false;  // the surface gets the default mouse pointer
    bool redraw = false;
};

// "Flags Mode", "Line Mode Active", "Set Lines", "Delete Lines": `checked` is the entry's check
// mark as it stands (the refresher sets it from the window's modes).
ModeToggle toggleFlagMode(ScreenModel& screen, bool checked);
ModeToggle toggleLineMode(ScreenModel& screen, bool checked);
ModeToggle toggleSetLine(ScreenModel& screen, bool checked);
ModeToggle toggleDeleteLine(ScreenModel& screen, bool checked);

}  // namespace kal
