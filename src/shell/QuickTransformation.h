#pragma once
// The clipboard quick transformation (Help, "&Spezial", Ctrl+W): a table copied from a
// spreadsheet, MCS points and OCS points side by side, becomes the two point files "mcs.txt" and
// "ocs.txt" in the program's data folder; they are loaded by name as ASCII points (no paraboloid),
// every observation is used, the calculation runs once, and when it solved a line of residual
// statistics is appended to whatever the calculation left on the clipboard.
//
// Table rows end with a line feed (CR LF, LF and CR alike); fields are separated by Tabs: the MCS
// name, x, y, z, one column that is skipped whatever it holds, the OCS name, x, y, z, and any
// further columns, which stay with their Tabs at the end of the OCS row. A last row without a line
// break is taken; blank lines after the table and one stray character after its last line break
// are ignored. A row with fewer than 9 fields (a table without the separating column, a short
// row) refuses the whole table, naming the row: no file is written and the job stays as it was.
// Time and memory are linear in the table's length.
#include <functional>
#include <string>
#include <string_view>

#include "calculation/CalculationView.h"
#include "input/PointLoad.h"
#include "platform/Clipboard.h"

namespace kal {

inline constexpr const char* kQuickReadError = "Fehler beim Einlesen";

// The two point files' bytes. A row of the MCS file reads: name, two Tabs, x, two Tabs, y, two
// Tabs, z, one Tab, CR LF, and the file ends with an empty line. A row of the OCS file reads:
// name, two Tabs, x, two Tabs, y, two Tabs, then the rest of the table row (z and further columns
// with their Tabs), CR LF.
struct QuickPointFiles {
    std::string mcs;
    std::string ocs;
};

// Splits the table. Throws FormatError with the message "Fehler beim Einlesen" and a second line
// naming the first row that does not fit (or saying that there is no row).
QuickPointFiles splitQuickTable(std::string_view table);

// The statistics line appended after a solved calculation: Tab "s0 " Tab SigmaXyz, then
// Tab "Spanne x " Tab (MaxDevX - MinDevX), likewise y and z; lengths in the display unit, each
// formatted with LengthFormat; no line break before or after. Under the L1 and minimax norms the
// s0 field is empty (no sigma of the result).
std::string quickStatisticsLine(const JobState& job);

// What the quick transformation needs besides the job.
struct QuickTransformationServices {
    platform::Clipboard* clipboard = nullptr;  // required
    PointLoadServices load;                    // its prompter is required and shows every message
    // The folder the two point files go to (created when missing).
    std::string dataFolder;
    // Runs the calculation once on the loaded points (myButtonCalculate of the calculation window,
    // which is opened for it when it is not open).
    std::function<CalcStatus()> calculate;
};

enum class QuickTransformationResult {
    TableRefused,  // "Fehler beim Einlesen": nothing written, nothing loaded
    FilesFailed,   // the folder or a file could not be written: nothing loaded
    NotLoaded,     // the load refused the files (its messages were shown)
    NotSolved,     // calculated without a result (refused, stopped, failed): the clipboard as it was left
    Solved,        // the statistics line is on the clipboard
};

// The whole command (MenueHelpWubrant_Click).
QuickTransformationResult runQuickTransformation(JobState& job, const QuickTransformationServices& services);

}  // namespace kal
