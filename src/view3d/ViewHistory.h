#pragma once
// A graphics window's view history operations in the order the window runs them: storing the
// view (StoreScreenPropertiesToRecord), stepping back and forward (Rückgängig_Back,
// Rückgängig_Force), showing the current ring slot (GetScreenPropertiesFromRecord) and showing a
// saved view of the job (GetScreenPropertiesFromSavedView). The copies are this folder's; what
// belongs to the window and to other parts of the program (flags, the colour-bar dialog, the
// redraw, the main window's controls) is reached through hooks. An empty hook is skipped.
#include <cstdint>
#include <functional>
#include <string>

#include "shared/JobState.h"
#include "view3d/UndoRing.h"

namespace kal {

// Where FahnenReset takes the flags' positions from.
enum class FlagSource { SavedView = 0, UndoRing = 1 };  // Quelle

struct ViewHistoryHooks {
    std::function<WindowSizeTwips()> outerSize;  // the window's outer size now, twips
    std::function<void()> removeFlags;           // AlleLöschen
    // SetFormtoVars of the colour-bar dialog; `onlyWhenShown` for a ring restore.
    std::function<void(bool onlyWhenShown)> fillColourBarDialog;
    std::function<void()> applyColourSettings;                   // the colour-bar dialog's Update
    std::function<void(FlagSource, std::int32_t)> rebuildFlags;  // FahnenReset(Quelle, Zeiger)
    // Makes a maximised or minimised window normal, then sets its outer height and width (twips).
    std::function<void(WindowSizeTwips)> resizeWindow;
    std::function<void()> redraw;                           // Stelle_Grafik_dar
    std::function<void()> refreshMainWindow;                // ProgrammLogik
    std::function<void(const UndoControls&)> showControls;  // the main window's Last / Next controls
    std::function<void(const std::string&)> tell;           // a message box with OK
};

// (StoreScreenPropertiesToRecord) Pushes the window's view into its ring, makes it the job's
// default view record and shows the ring's Last / Next controls.
void storeView(UndoRing& ring, const ScreenProperties& window, JobState& job, const ViewHistoryHooks& hooks);

// (GetScreenPropertiesFromRecord) The window shows its ring's current slot: flags removed, the
// slot copied in (not the window size), colours applied, flags rebuilt, redraw, main window
// refreshed. Nothing happens while the ring holds no view.
void showCurrentRingView(const UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks);

// (Rückgängig_Back, Rückgängig_Force) One step and the view it lands on; false, with nothing
// changed, when the ring has no view in that direction.
bool showPreviousView(UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks);
bool showNextView(UndoRing& ring, ScreenProperties& window, const ViewHistoryHooks& hooks);

// (GetScreenPropertiesFromSavedView) The window shows saved view `toGet` (1..ViewCount) of the
// job, takes its size, and stores it in the ring so that "&last View" returns to the view shown
// before. Lines and flags whose rows no longer hold the points they were made for are dropped,
// and one message says how many. False, with nothing changed, for a number outside 1..ViewCount.
bool showSavedView(JobState& job, std::int32_t toGet, UndoRing& ring, ScreenProperties& window,
                   std::int32_t pointCloudCount, const ViewHistoryHooks& hooks);

}  // namespace kal
