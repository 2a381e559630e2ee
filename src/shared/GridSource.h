#pragma once
// The contents of a table window (point table, main sheet, details tables, flags), asked for cell by
// cell as the grid paints, instead of being stored in the grid.
//
// A sheet of 10^6 rows by 10 columns would hold 10^7 strings (several hundred MB) if the grid kept
// its texts; a source computes each text when asked, from the job data it already has. The grid
// asks only for the cells on screen (a few hundred per paint), for the copy of a selection, and
// never for a whole column, so a source may answer in time proportional to one cell.
//
// Contract for an implementation:
// - rowCount(), columnCount(), headerText() and columnHidden() are cheap (O(1)): the grid asks them
//   often. The counts change only between two refreshes of the grid (GridModel::refresh/reset), so
//   the grid never asks for a cell the source no longer has.
// - text() and style() are asked only for 0 <= row < rowCount(), 0 <= column < columnCount(); they
//   are const and without side effects, computed from the data at the time of the call.
// - Texts are UTF-8. They are shown on one line and copied as they are (no quoting), so a text
//   holding a Tab or a line end breaks the copied table's shape; sources produce none.
//
// Fixed cells: the grid has one fixed header row, headerText(column), that stays at the top while
// the rows scroll. A fixed-looking first column is an ordinary column styled with a background.
//
// Row order: a source answers in its own row order. A sorted view is a source too, one that maps its
// rows through a permutation onto another source (SortedGridSource); the grid needs no other notion
// of order.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace kal {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Horizontal alignment of a cell's text; vertically the text is always centred.
enum class CellAlignment : std::uint8_t { Left, Center, Right };

// How one cell looks. A colour left empty is the grid's own (the window's text and back colour).
struct CellStyle {
    CellAlignment alignment = CellAlignment::Left;
    bool bold = false;
    std::optional<Rgb> foreground;
    std::optional<Rgb> background;
    bool operator==(const CellStyle&) const = default;
};

// A rectangular block of cells, first to last inclusive, 0-based; empty when a last is below its
// first. This is the shape of a grid's selection: the current cell and the selection end.
struct GridRange {
    std::int32_t firstRow = 0, firstColumn = 0;
    std::int32_t lastRow = -1, lastColumn = -1;
    bool empty() const { return lastRow < firstRow || lastColumn < firstColumn; }
    bool operator==(const GridRange&) const = default;
};

// What a row is sorted by in one column: a number or a text. Numbers sort before texts, numbers by
// value and equal values by their text ("7" before "007" before "7.0" stays a fixed order), texts by
// their bytes (case-sensitive, capital B before small a).
struct SortKey {
    bool isNumber = false;
    double number = 0.0;  // when isNumber
    std::string text;     // the text, or for a number the tie-break (may be empty)

    static SortKey ofNumber(double value, std::string text = {}) { return {true, value, std::move(text)}; }
    static SortKey ofText(std::string text) { return {false, 0.0, std::move(text)}; }
    // The generic key of a cell's text: a text that reads as a number (blanks around it allowed,
    // an optional sign, "." or "," as the decimal point, an optional exponent) is a number with
    // the text as tie-break; any other text, the empty one included, is a text.
    static SortKey ofCellText(std::string text);
};

// -1, 0 or 1 as `a` sorts before, with or after `b` in ascending order.
int compareSortKeys(const SortKey& a, const SortKey& b);

class GridSource {
  public:
    virtual ~GridSource() = default;

    virtual std::int32_t rowCount() const = 0;
    virtual std::int32_t columnCount() const = 0;

    // The text of the fixed header row above `column`.
    virtual std::string headerText(std::int32_t column) const = 0;

    virtual std::string text(std::int32_t row, std::int32_t column) const = 0;

    // Left aligned, regular, the grid's colours unless a source says otherwise.
    virtual CellStyle style(std::int32_t row, std::int32_t column) const { return {}; }

    // The row whose text in `column` has the most characters, where the source finds it without
    // building every cell's text (a column of names it holds); -1 when it cannot tell. A grid
    // fitting the column to its widest text measures this row besides its sample, so one long
    // name among 10^5 short ones is never missed.
    virtual std::int32_t longestTextRow(std::int32_t column) const { return -1; }

    // A hidden column is not shown and never copied (the width-0 column of a table whose data the
    // window needs but the user does not see).
    virtual bool columnHidden(std::int32_t column) const { return false; }

    // The key of a cell for sorting rows. The generic one reads the text; a source whose cells show
    // values it holds (formatted numbers, angles in degrees-minutes-seconds) answers the value, so
    // the rows sort by what the cell means and not by how it is written.
    virtual SortKey sortKey(std::int32_t row, std::int32_t column) const {
        return SortKey::ofCellText(text(row, column));
    }

    // The cells of `range` as the clipboard takes a table: the texts of a row's visible cells
    // separated by Tab, rows separated by CR LF, no line end after the last row. The range is
    // clipped to the table; an empty range, or one of hidden columns only, gives "".
    // Cost: one text() per copied cell, memory for the result only. A source that can format a
    // whole row faster than cell by cell may override it.
    virtual std::string copyText(const GridRange& range) const;

    // The same cells with an end after each of them: every cell followed by a Tab and every row by
    // CR LF (the block a right click hands to the Edit menu). Hidden columns are left out alike.
    std::string copyTextWithEnds(const GridRange& range) const;
};

}  // namespace kal
