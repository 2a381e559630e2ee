#pragma once
// Copying a graphics window's view into a view record and back (StoreScreenPropertiesToRecord's
// fill, GetScreenPropertiesFromRecord's and GetScreenPropertiesFromSavedView's copies), and what
// a new window or a new flag takes from the default view record.
//
// The window keeps its live view in a ScreenProperties of its own (the members the record is
// taken from), so the fields already have the record's widths: a double given to BlackOffX or
// BlackOffY becomes the nearest single when it is set, and comes back as that single. What a
// copy converts is the window's outer size (twips, a fraction in the window, 16-bit in the
// record) and the hiding plane's matrix, of which only the elements (1..3, 1..3) travel.
//
// Cost: every copy is proportional to the record's own size (its flags, flag layouts, lines and
// angles), never to the number of points in the cloud: FlagOfPoint is held sparse.
#include <cstdint>
#include <optional>

#include "shared/ViewRecords.h"

namespace kal {

// A window's outer size in twips (1/1440 inch), as the window measures it.
struct WindowSizeTwips {
    double width = 0;
    double height = 0;
    bool operator==(const WindowSizeTwips&) const = default;
};

// Twips to the record's 16-bit field: the nearest integer, halves to even (1000.5 → 1000,
// 1001.5 → 1002). A size beyond 32767 is stored as 32767 and a non-finite one as 0, so a store
// never fails and the job file never has to refuse a window size.
std::int16_t twipsToRecordField(double twips);

// Fills `slot` from the window: fields 1 to 48, WindowWidth and WindowHeight from `outer`. The
// elements of PlaneMatrix with an index 0 keep what the slot held. The slot's own buffers are
// reused, so a store into a ring slot allocates little once the ring has gone round.
void storeViewInRecord(const ScreenProperties& window, WindowSizeTwips outer, ScreenProperties& slot);

// The window shows `record` (a ring slot): every field except WindowWidth and WindowHeight;
// the elements of PlaneMatrix with an index 0 keep what the window held.
void restoreViewFromRecord(const ScreenProperties& record, ScreenProperties& window);

// The window shows the saved view `saved`: fields 1 to 12 and 16 to 48; CurrentFahne stays the
// window's own. FlagOfPoint is sized to the rows 0..pointCloudCount of the window's cloud,
// keeping the flags of the rows that remain, and line segments with an end outside
// 1..pointCloudCount are left out (a view saved with another number of points still fits; the
// segments kept stay in their order). Returns the size the window is to take (height first).
WindowSizeTwips restoreViewFromSavedView(const ScreenProperties& saved, ScreenProperties& window,
                                         std::int32_t pointCloudCount);

// The 24 display settings a new window takes from the default view record (the fields of the
// "LocalGraphics" section), only when that record has been set (ADis not 0). False, and the
// window unchanged, when it was never set.
bool takeDefaultDisplaySettings(const ScreenProperties& defaults, ScreenProperties& window);

// The layout a new flag takes from the default view record: its element FahneAnzahl of
// FahneProps, when that record holds at least one flag (and the element exists).
std::optional<FahneRecord> defaultFlagLayout(const ScreenProperties& defaults);

}  // namespace kal
