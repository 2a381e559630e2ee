#pragma once
// The rules of the main sheet window, apart from its widgets: where the current cell came from and
// went to (LastRow, LastCol, EnterRow, EnterCol), which row carries the highlight, the direction of
// a header-click sort (SortOrder, SortCol), the copy texts of a selection and the values the
// right-button selection keeps for charting (AuswahlPkt, AnzAuswahl).
//
// Rows here are the sheet's: 0 is the title row, 1..N the body rows as shown (sorted or not).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shared/GridSource.h"

namespace kal {

struct SheetCell {
    std::int32_t row = 0, column = 0;
    bool operator==(const SheetCell&) const = default;
};

enum class SheetSortOrder : std::uint8_t { None = 0, Ascending = 1, Descending = 2 };

// What a row change asks of the window.
struct SheetRowChange {
    std::int32_t restoreRow = 0;    // LastRow: its colours restored (0: the title row, nothing to do)
    std::int32_t highlightRow = 0;  // EnterRow: painted as the current row
    std::string panelText;          // main window status panel 3: LastRow as a decimal number
    SheetCell current;              // made the current cell again
};

class MainSheetWindowModel {
  public:
    // GridEventsAn: while false the cell handlers do nothing (the window moves the cell itself).
    void setCellEventsOn(bool on) { cellEventsOn_ = on; }
    bool cellEventsOn() const { return cellEventsOn_; }

    // The current cell leaves `cell` / enters `cell` (MSFlexGrid1_LeaveCell, MSFlexGrid1_EnterCell).
    void leaveCell(SheetCell cell);
    void enterCell(SheetCell cell);
    // Then the row change (MSFlexGrid1_RowColChange); nothing while cell events are off.
    std::optional<SheetRowChange> rowChange();

    // A click on the title of `column`: the order to sort it in. The same column sorted before
    // toggles between ascending and descending; any other column, or the first sort, is ascending.
    // (Keyed on the column sorted last, not on the cell left last, so that the first click on the
    // current cell's column sorts ascending.)
    SheetSortOrder headerClicked(std::int32_t column);

    SheetCell last() const { return last_; }
    SheetCell entered() const { return enter_; }
    SheetSortOrder sortOrder() const { return sortOrder_; }
    std::int32_t sortColumn() const { return sortColumn_; }

  private:
    bool cellEventsOn_ = true;
    SheetCell last_, enter_;
    SheetSortOrder sortOrder_ = SheetSortOrder::None;
    std::int32_t sortColumn_ = 0;
};

// A selection of body cells between an anchor (the current cell) and a second corner, in sheet
// rows. Corners may lie either way round: the copies walk the block they span, top-left first.
struct SheetSelection {
    SheetCell anchor, corner;
    std::int32_t firstRow() const { return std::min(anchor.row, corner.row); }
    std::int32_t lastRow() const { return std::max(anchor.row, corner.row); }
    std::int32_t firstColumn() const { return std::min(anchor.column, corner.column); }
    std::int32_t lastColumn() const { return std::max(anchor.column, corner.column); }
    // The same block in the source's 0-based body rows (the title row left out).
    GridRange bodyRange() const;
};

// The title line of a copy: each selected column's title followed by a Tab, then CR LF.
std::string sheetTitleLine(const GridSource& sheet, const SheetSelection& selection);

// Ctrl+C: the cells, a Tab between the cells of a row, CR LF between rows, nothing after the last
// cell; with `withTitles` the title line in front.
std::string sheetCopyText(const GridSource& sheet, const SheetSelection& selection, bool withTitles);

// The right button's text: every cell followed by a Tab, every row by CR LF; with `withTitles`
// the title line in front.
std::string sheetRowsText(const GridSource& sheet, const SheetSelection& selection, bool withTitles);

// The values of the anchor column in the selected rows, top row first (AuswahlPkt; its size is
// AnzAuswahl). Column 0 holds names: the number a name begins with ("12abc" 12, "P1" 0).
// Other columns: `value` of the cell (the number shown, in the display unit, degrees-minutes-
// seconds as decimal degrees), 0 for an empty cell. Grows with the selection (no 9001 cap).
using SheetValueOf = std::function<std::optional<double>(std::int32_t bodyRow, std::int32_t column)>;
std::vector<double> sheetSelectionValues(const GridSource& sheet, const SheetValueOf& value,
                                         const SheetSelection& selection);

// The grid's size for the window's outer size, all in twips: 210 narrower and 460 lower; nullopt
// (leave the grid as it is) for a window 110 twips wide or less, or 420 high or less.
struct SheetGridSize {
    double width = 0, height = 0;
};
std::optional<SheetGridSize> sheetGridSizeFor(double windowWidthTwips, double windowHeightTwips);

// The window's caption: "Main Sheet - Data in " + NameOCS + " - OCS System".
std::string mainSheetCaption(const std::string& nameOcs);

// The column widths in twips, Col_0 to Col_22, stored in the settings file (0, a negative width or
// a non-number counts as 900); nothing for a column without a key, which fits its contents.
std::array<std::optional<int>, 23> readSheetColumnWidths(const std::string& iniPath);

}  // namespace kal
