#pragma once
// Putting flags on all visible points of a graphics window in one go, by one of four rules:
// close to each point, on a ray from the centre of the points, where that ray leaves the
// picture, or at the picture border nearest to each point. The two border rules keep flags
// apart by placing them in free cells of a grid of flag-sized cells.
//
// Long work. A run over a large cloud lets events through at most every `interval`, shows its
// progress (the share of its candidate points examined) and ends at Stop, keeping the flags made so far.
// Before a close or radial run that would put more flags than fit side by side into the picture, the user is
// asked whether to go on: such flags cover one another and cannot be read. Before a border run that has
// fewer cells than points, or any run that would number more flags than a window holds, the user is told
// how many flags it will put and asked whether to go on.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/EventPump.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "view3d/PointCloud.h"
#include "view3d/ViewArrays.h"

namespace kal {

enum class FlagPlacement : std::uint8_t { CloseToPoint, Radial, ScreenBorder, NextToBorder };

inline constexpr const char* kScreenFullMessage = "screen is full, make more views for your flags";
inline constexpr const char* kFlagRunCaption = "put Flag on all visible Points - Progress";

// The question before a run whose flags would cover one another: the number of flags the run
// would put and the number that fit side by side.
std::string tooManyFlagsQuestion(std::int64_t flags, std::int64_t legible);

// The question before a run that can put only `put` of the `flags` it was asked for: a border run
// whose cells run out (`cellsRunOut`), or a run that reaches the highest flag number a window
// holds. `legible` adds the note on flags that would cover one another (close and radial rules;
// 0 leaves it out).
std::string fewerFlagsQuestion(std::int64_t flags, std::int64_t put, bool cellsRunOut, std::int64_t legible);

// After a run that stopped at the highest flag number: how many flags it put and how many points
// got none.
std::string flagLimitMessage(std::int64_t put, std::int64_t without);

// The highest flag number a window holds: flag numbers are 16-bit in the job file.
inline constexpr std::int64_t kMaxFlagNumber = 32767;

// The place a flag already on the window covers; a border run leaves it free.
struct FlagArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FlagLayoutInput {
    int surfaceWidth = 0;  // W, H of the drawing surface
    int surfaceHeight = 0;
    int flagWidth = 0;  // fw, fh: the current flag's size, the cell size
    int flagHeight = 0;
    FlagPlacement placement = FlagPlacement::CloseToPoint;
    double radialFactor = 1.1;  // f of the radial rule
    int flagOnEvery = 1;        // every how many rows (below 1 acts as 1)
    std::int32_t identicalCount = 0;
};

// What the window already holds when a run starts.
struct FlagsOnWindow {
    // How many more flags the window can number (kMaxFlagNumber less the numbers handed out).
    std::int64_t flagNumbersLeft = kMaxFlagNumber;
    // The flags already on the window: the border rules put no flag over them.
    std::vector<FlagArea> areas;
};

// The grid of cells one layout run works in: C = ⌊W / fw⌋ columns, R = ⌊H / fh⌋ rows, and the
// border extents Wb = W − 15, Hb = H − 10.
struct FlagCellGrid {
    int columns = 0;
    int rows = 0;
    int borderWidth = 0;
    int borderHeight = 0;
};
FlagCellGrid flagCellGrid(const FlagLayoutInput& in);

enum class FlagBorderSide : std::uint8_t { None, Left, Right, Top, Bottom };

// "The first free position at or after x" along one line of cells, for lines whose cells are
// only ever taken, never freed: a union-find over the positions with path halving.
class NextFreeLines {
  public:
    NextFreeLines(int lines, int length)
        : length_(length),
          parent_(static_cast<std::size_t>(lines + 1) * static_cast<std::size_t>(length + 2)) {
        for (std::size_t i = 0; i < parent_.size(); ++i)
            parent_[i] = static_cast<int>(i % static_cast<std::size_t>(length + 2));
    }
    // The first free position ≥ from on `line`; length + 1 when there is none.
    int firstFree(int line, int from) {
        int* p = row(line);
        int x = std::max(from, 1);
        if (x > length_) return length_ + 1;
        while (p[x] != x) {
            p[x] = p[p[x]];
            x = p[x];
        }
        return x;
    }
    void take(int line, int position) { row(line)[position] = position + 1; }

  private:
    int* row(int line) {
        return parent_.data() + static_cast<std::size_t>(line) * static_cast<std::size_t>(length_ + 2);
    }
    int length_;
    std::vector<int> parent_;
};

// The cells taken by the flags of one run, columns 1..C by rows 1..R.
class FlagCells {
  public:
    FlagCells(int columns, int rows)
        : columns_(columns),
          rows_(rows),
          byColumn_(std::max(columns, 0), std::max(rows, 0)),
          byRow_(std::max(rows, 0), std::max(columns, 0)) {}

    bool inside(int c, int r) const { return c >= 1 && c <= columns_ && r >= 1 && r <= rows_; }
    bool free(int c, int r) { return inside(c, r) && byColumn_.firstFree(c, r) == r; }
    void take(int c, int r) {
        if (!inside(c, r)) return;
        byColumn_.take(c, r);
        byRow_.take(r, c);
    }

    // Widens a square around (c, r) until a free cell turns up, trying the cells of each square
    // column by column and within a column row by row; a side pins one coordinate to its
    // border. False when every square up to the grid's size is taken: the picture is full.
    //
    // When the square of reach k is searched, every cell of the smaller squares is known to be
    // taken, so only its ring can hold a free cell: the first free cell of the left column, else
    // of the top and bottom rows between (the smaller column wins, the top row on a tie), else
    // of the right column. Each lookup is a near-constant step, so a crowded picture costs a
    // few steps per ring instead of a scan of the whole square.
    bool findFree(int& c, int& r, FlagBorderSide side) {
        pin(c, r, side);
        if (free(c, r)) return true;
        for (int reach = 1; reach <= std::max(columns_, rows_); ++reach) {
            const int top = std::max(r - reach, 1), bottom = std::min(r + reach, rows_);
            const int left = std::max(c - reach, 1), right = std::min(c + reach, columns_);
            if (side == FlagBorderSide::Left ||
                side == FlagBorderSide::Right) {  // only the pinned column's rows run
                if (const int row = firstFreeInColumn(c, top, bottom)) return found(c, row, c, r);
                continue;
            }
            if (side == FlagBorderSide::Top ||
                side == FlagBorderSide::Bottom) {  // only the pinned row's columns run
                if (const int col = firstFreeInRow(r, left, right)) return found(col, r, c, r);
                continue;
            }
            if (c - reach >= 1)
                if (const int row = firstFreeInColumn(c - reach, top, bottom))
                    return found(c - reach, row, c, r);
            const int innerLeft = std::max(c - reach + 1, 1), innerRight = std::min(c + reach - 1, columns_);
            const int above = r - reach >= 1 ? firstFreeInRow(r - reach, innerLeft, innerRight) : 0;
            const int below = r + reach <= rows_ ? firstFreeInRow(r + reach, innerLeft, innerRight) : 0;
            if (above != 0 && (below == 0 || above <= below)) return found(above, r - reach, c, r);
            if (below != 0) return found(below, r + reach, c, r);
            if (c + reach <= columns_)
                if (const int row = firstFreeInColumn(c + reach, top, bottom))
                    return found(c + reach, row, c, r);
        }
        return false;
    }

  private:
    static bool found(int column, int row, int& c, int& r) {
        c = column;
        r = row;
        return true;
    }
    // The first free row of column c in top..bottom, 0 for none.
    int firstFreeInColumn(int c, int top, int bottom) {
        if (c < 1 || c > columns_ || top > bottom) return 0;
        const int row = byColumn_.firstFree(c, top);
        return row <= bottom ? row : 0;
    }
    int firstFreeInRow(int r, int left, int right) {
        if (r < 1 || r > rows_ || left > right) return 0;
        const int col = byRow_.firstFree(r, left);
        return col <= right ? col : 0;
    }
    void pin(int& c, int& r, FlagBorderSide side) const {
        if (side == FlagBorderSide::Left) c = 1;
        if (side == FlagBorderSide::Right) c = columns_;
        if (side == FlagBorderSide::Top) r = 1;
        if (side == FlagBorderSide::Bottom) r = rows_;
    }

    int columns_;
    int rows_;
    NextFreeLines byColumn_;  // along each column: rows
    NextFreeLines byRow_;     // along each row: columns
};

// The size, in pixels, a new flag takes on a row (its table filled for that row's point).
struct FlagSize {
    int width = 0;
    int height = 0;
};
using FlagSizeOfRow = std::function<FlagSize(std::int32_t row)>;

// Creates the flag for a row at a click position (the window's flag-mode click); returns
// whether a flag was made (a row with a flag, hidden or outside the picture gets none).
using PutFlagAt = std::function<bool(std::int32_t row, float x, float y)>;

struct FlagLayoutOutcome {
    int flagsPut = 0;
    bool screenFull = false;        // the caller shows kScreenFullMessage once
    bool declined = false;          // the user chose not to put flags that cannot be read: none put
    bool stopped = false;           // Stop ended the run; the flags put before stay
    bool limitReached = false;      // the window ran out of flag numbers: the caller says how many
    std::int64_t flagsLeftOut = 0;  // with limitReached: the points that got no flag for it
};

// What a layout run needs for long work; each may be null (no question, no window, no events).
struct FlagRunServices {
    platform::Prompter* prompter = nullptr;  // the question before flags that cannot be read
    platform::Progress* progress = nullptr;  // the progress window and its Stop
    platform::EventPump* events = nullptr;   // let through at most every `interval`
    std::chrono::milliseconds interval{50};
};

// How many flags of the run's cell size fit side by side into the picture (C·R cells).
std::int64_t legibleFlagCount(const FlagLayoutInput& in);

// How many flags a close or radial run would try to put: the candidate rows of its step whose
// points lie inside the picture (those outside get no flag).
std::int64_t flagsOfRun(const FlagLayoutInput& in, const PointCloud& cloud, const ViewArrays& view);

// FlagPutAll over the shown and visible rows of `cloud` (the OCS sides of identical points get
// no flag). Flags already on the window are not entered in the cell grid. O(N log N) for the
// border-side rule (its ordering), O(N) otherwise, plus a near-constant cell search per flag.
//
// The border rules first plan their cells, ending as soon as no cell is left, and ask before a
// run whose points outnumber its cells. With `sizeOfRow` they widen the cells (in.flagWidth ×
// in.flagHeight, the current flag's size) to the largest flag the plan puts, planning again
// until every planned flag fits its cell, so that no wider neighbour covers a flag's texts:
// only the planned flags are measured, never the whole cloud. Measuring is the first half of
// the progress and Stop ends it too.
FlagLayoutOutcome putFlagsOnAllPoints(const FlagLayoutInput& in, const PointCloud& cloud,
                                      const ViewArrays& view, const PutFlagAt& putFlag,
                                      const FlagRunServices& services = {},
                                      const FlagSizeOfRow& sizeOfRow = {},
                                      const FlagsOnWindow& onWindow = {});

}  // namespace kal
