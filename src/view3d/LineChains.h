#pragma once
// Line mode of a graphics window: segments chained from point to point by set-line clicks,
// the segment under the mouse marked for deletion, and its removal. The segments live in the
// view record (`Lines`, `LineCount`, `LineStartPoint`), so they travel with the undo ring and
// the saved views; the marked segment (`SelectedLine`) is a window member.
//
// `Lines` is sized 0..2 by 0..LineCount; Lines(1, k) and Lines(2, k) are the cloud rows of the
// start and end of segment k.
#include <cstdint>

#include "shared/ViewRecords.h"
#include "view3d/ViewArrays.h"

namespace kal {

// The set-line step of a click on cloud row `picked`: the first click opens a chain at that
// row, every further click adds the segment from the chain's end to it and moves the end on.
// A click while no point was ever picked (row 0) neither opens a chain nor adds a segment
// ending nowhere.
void addLineStep(ScreenProperties& view, std::int32_t picked);

// A double click ends the open chain: the next set-line click starts a new one.
inline void endLineChain(ScreenProperties& view) { view.LineStartPoint = 0; }

// The delete-line step: removes segment `selectedLine` (1..LineCount), moving the later ones
// down. The marked number stays on the segment that moved into its place, or on the one
// before when the last was removed (1 → 1, 3 of 3 → 2). Returns false, changing nothing, when
// there is no segment or no valid mark.
bool deleteSelectedLine(ScreenProperties& view, std::int32_t& selectedLine);

// The line hover: the first segment (lowest number) whose pixel distance from (x, y) is under
// 15 px with its foot point strictly between the ends; 0 when none. Segments with an end
// outside the window's pixel arrays, and zero-length segments, are never marked.
std::int32_t segmentUnderMouse(const ScreenProperties& view, const ViewArrays& arrays, float x, float y);

}  // namespace kal
