#pragma once
// The main window's Edit menu and the point checks of the commands that chart or analyse the
// identical points. The windows themselves are opened by their callers.
#include <cstddef>
#include <cstdint>

#include "platform/Clipboard.h"
#include "platform/Prompter.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr const char* kNoPointsToGraphMessage = "There are no Points to graph!";
inline constexpr const char* kNoPointsForDistanceScaleMessage =
    "There are not enough identically Points for a calculation";
// "Graph Data" before any rows were chosen: says how to choose them, instead of the chart's
// failure message, which stays for a chart that really fails.
inline constexpr const char* kNoRowsToGraphMessage =
    "No rows are chosen to graph. Select the rows in the main sheet and click them with the right "
    "mouse button, then choose \"Graph Data\".";

// (MenuEditCopy_Click) Clears the clipboard, then puts `ClipboardText` on it, the text a grid last
// prepared: an empty text leaves an empty clipboard. A grid that has the focus copies its own
// selection with Ctrl+C before the menu's shortcut sees the key.
void copyPreparedText(const JobState& job, platform::Clipboard& clipboard);

// The check of "Graph Data": without identical points the message, and false. An empty selection
// (`AnzAuswahl` 0) passes; hasRowsToGraph checks it next.
bool mayGraphSelection(std::int32_t identicalCount, platform::Prompter& prompter);

// The second check of "Graph Data": no row chosen with the right mouse button gives
// kNoRowsToGraphMessage, and false.
bool hasRowsToGraph(std::size_t selectedRows, platform::Prompter& prompter);

// The check of "&Distance Scale": one identical point is enough to open the analysis; none gives
// the message, and false.
bool mayAnalyseDistances(std::int32_t identicalCount, platform::Prompter& prompter);

}  // namespace kal
