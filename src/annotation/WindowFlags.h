#pragma once
// The flags of one graphics window: which point carries which flag (the view record's
// `FlagOfPoint`), each flag's layout (`FahneProps`), and, here, each flag's filled table and
// place in the picture. Flag numbers are never reused until all flags are deleted; the layout
// of a deleted flag stays in `FahneProps`.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "annotation/FlagContent.h"
#include "view3d/DisplayList.h"
#include "view3d/FlagPlacement.h"
#include "view3d/ViewArrays.h"

namespace kal {

// One flag as the window draws it: its table and its top-left corner in pixels.
struct FlagBox {
    FlagTable table;
    int left = 0;
    int top = 0;
    bool visible = false;
    bool operator==(const FlagBox&) const = default;
};

// The drawn flags of one window, by flag number.
using FlagBoxes = std::map<std::int16_t, FlagBox>;

// What filling a flag reads besides its layout.
struct FlagSources {
    const PointCloud& cloud;
    const JobState& job;
    const platform::TextMetrics& metrics;
};

// The cell a layout run ("put Flag on all visible Points") gives each flag: at least the
// current flag's size and the size of the largest flag `layout` makes on any row the run may
// flag (shown and visible, not the OCS side of an identical point). A cell sized from one flag
// alone lets a wider neighbour cover its texts.
struct FlagCellSize {
    int width = 0;
    int height = 0;
};
FlagCellSize flagCellSizeForRun(const FahneRecord& layout, const std::string& colorBased,
                                FlagCellSize current, const FlagSources& sources);

// Alle_Fahnen_neu_zeichnen: refills every flag of the window from its layout and its point.
void refillAllFlags(const ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources);

// AlleLöschen: removes every flag; `FahneAnzahl` and `CurrentFahne` back to 0, the layouts
// kept. The caller redraws.
void deleteAllFlags(ScreenProperties& view, FlagBoxes& boxes);

// Fahne_Löschen: removes flag `number` (0: the current flag) of this window and returns the
// number acted on; 0 when there was nothing to delete. `FahneAnzahl` and the layouts stay.
std::int16_t deleteFlag(ScreenProperties& view, FlagBoxes& boxes, std::int16_t number);

// FahnenReset: after `view` took the flag members of a stored view, builds the boxes again at
// the positions the stored layouts hold. Entries of `FlagOfPoint` that point to no layout, or
// repeat a flag number already used by an earlier row, are dropped so that a damaged job file
// cannot make two points share a flag or a flag without a layout.
void resetFlagsFromStoredView(ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources);

// What the click in flag mode needs to create a flag for cloud row `row`.
struct FlagCreation {
    std::int32_t row = 0;
    float mouseX = 0, mouseY = 0;  // where the click (or the automatic layout) puts it
    float pointX = 0, pointY = 0;  // the row's pixel position
    int surfaceWidth = 0, surfaceHeight = 0;
    bool rowVisible = false;    // the hiding plane leaves the row visible
    bool withinScreen = false;  // PixelWithinScreen of the row
    bool placeAtMouse = false;  // the editor's border placements put the corner at the mouse
};

// Puts a new flag on the row unless it already has one, is hidden or lies outside the picture:
// its layout from the current flag, or from the default view's last flag, or the ten default
// fields; placed beside the point, inside the picture. Returns the new flag's number, or 0.
// Flag numbers are 16-bit in the job file: at 32767 no further flag is made.
std::int16_t createFlag(ScreenProperties& view, FlagBoxes& boxes, const ScreenProperties& defaultView,
                        const FlagCreation& at, const FlagSources& sources);

// DoChangesOnFlags: after the editor changed the current flag's layout, refills that flag, or,
// when the layout says "change all", gives every flag of the window that layout (font and
// colour included), each keeping its own place. Nothing without a current flag.
void carryLayoutOver(ScreenProperties& view, FlagBoxes& boxes, const FlagSources& sources);

// ZeichneLinieZuFahne: the leader line from the point to the flag's centre, 1 px, (0, 100, 100).
Segment flagLeaderLine(const FlagBox& box, float pointX, float pointY);

// The table of one flag as primitives: background, use-cell backgrounds, grid lines, texts.
void appendFlagPrimitives(DisplayList& list, const FlagBox& box);

// The flags a paint of a width × height picture must draw, in drawing order (by number): the
// visible ones with a pixel inside the picture that no flag drawn after them covers. A flag's
// table is opaque, so a flag wholly under later ones cannot be seen; of thousands of flags on a
// crowded picture only a few hundred can. Each scanline keeps "the next pixel not yet covered"
// (a union-find), so the cost is O(F·h + W·H) for F flags of height h, not the F × cells of
// painting them all.
std::vector<std::int16_t> flagsInSight(const FlagBoxes& boxes, int width, int height);

// The redraw's flag stage for cloud row `row` carrying a flag: whether its box is visible, and
// its leader line when it is. `rowDrawn` is false for rows not shown or hidden by the plane.
void flagStageForRow(const ScreenProperties& view, FlagBoxes& boxes, std::int32_t row, bool rowDrawn,
                     bool pixelWithinScreen, float pointX, float pointY, DisplayList& list);

// A flag dropped with its top-left corner at (left, top): the corner rule of the drop (negative
// values become 0, snapping with the flag's layout), stored in the box and the layout. Returns
// the corner; nothing happens for a number without box or layout. The caller redraws and
// stores the view.
FlagCorner dropFlagBox(ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, double left,
                       double top);

// Double click on the use row of flag `number` under column 1..3 (x, y, z): toggles that use
// flag of the flag's identical point (both sides of an identical point map to it), rewrites
// the cell and marks the job dirty. Any other column, or a flag on a point without a partner,
// changes nothing. Returns whether a use flag changed.
bool toggleFlagUseMark(const ScreenProperties& view, FlagBoxes& boxes, std::int16_t number, int column,
                       JobState& job);

// Ctrl+C on a flag: the cells rows r1..r2 × columns c1..c2, Tab between cells, CR LF after
// each row but the last.
std::string flagCopyText(const FlagTable& table, int r1, int c1, int r2, int c2);

}  // namespace kal
