#pragma once
// The point table of the calculation window as a grid source: one row per identical point with its
// name, its residuals (the transformed MCS point minus its OCS point, in the display length unit)
// and its three use flags, computed from the job whenever the grid asks for a cell.
//
// Columns: 0 hidden and empty; 1 "Pt.ID" (light green back when the point is a seed point); 2..4
// "dev.x", "dev.y", "dev.z" (white back when that component is used, light yellow when not); 5..7
// "use.x", "use.y", "use.z" ("X" when the flag is exactly 1); 8 hidden, the point number, which ties
// a row to its point after sorting. Row r (0-based) holds point r + 1.
//
// The row count is taken by refresh(), not at every call, so a grid never asks for a point the job
// dropped before the table heard of it; cells of points the job no longer has read as empty. The
// residual columns sort by their value, the names generically (numeric names by value).
//
// Alongside it, the edits the table makes to the job: toggling use flags, choosing a seed point and
// keeping the seed points valid.
#include <cstdint>
#include <string>

#include "shared/GridSource.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr std::int32_t kPointTableColumns = 9;
inline constexpr std::int32_t kPointNameColumn = 1;
inline constexpr std::int32_t kFirstResidualColumn = 2;  // dev.x; dev.y and dev.z follow
inline constexpr std::int32_t kFirstUseColumn = 5;       // use.x; use.y and use.z follow
inline constexpr std::int32_t kPointNumberColumn = 8;

inline constexpr Rgb kSeedBack{0, 255, 0};
inline constexpr Rgb kUsedBack{255, 255, 255};
inline constexpr Rgb kUnusedBack{255, 255, 0};

class PointTableSource : public GridSource {
  public:
    explicit PointTableSource(const JobState& job) : job_(job) {}

    // "Deviation": while off, the table holds only its header.
    void setDeviationShown(bool shown) { shown_ = shown; }
    bool deviationShown() const { return shown_; }

    // Takes the number of identical points anew.
    void refresh();

    // The point shown in `row` (row + 1).
    static std::int32_t pointOfRow(std::int32_t row) { return row + 1; }

    std::int32_t rowCount() const override { return rows_; }
    std::int32_t columnCount() const override { return kPointTableColumns; }
    std::string headerText(std::int32_t column) const override;
    std::string text(std::int32_t row, std::int32_t column) const override;
    CellStyle style(std::int32_t row, std::int32_t column) const override;
    bool columnHidden(std::int32_t column) const override {
        return column == 0 || column == kPointNumberColumn;
    }
    SortKey sortKey(std::int32_t row, std::int32_t column) const override;
    // The name column: the row of the longest name, found by the names' lengths alone.
    std::int32_t longestTextRow(std::int32_t column) const override;

  private:
    // The residual of `point` in component 1..3 in display units; false when it cannot be computed.
    bool residual(std::int32_t point, int component, double& value) const;
    bool hasPoint(std::int32_t point) const { return point >= 1 && point <= job_.IdenticalCount; }

    const JobState& job_;
    bool shown_ = false;
    std::int32_t rows_ = 0;
};

// The text of a residual as the table shows it: `value` (display units) with the length format,
// never "-0.000"; empty when the value is not finite.
std::string residualText(double value, const std::string& lengthFormat);

// The component 1 (x), 2 (y) or 3 (z) whose use flag a table column stands for (a residual cell
// stands for its component's use cell); 0 for the other columns.
int useComponentOfColumn(std::int32_t column);

// True when the flag of `point`'s `component` (1..3) takes part: exactly 1.
bool isUsed(const JobState& job, std::int32_t point, int component);

// Toggles the use flag of `point`'s `component` as a double click on its cell does: a used one
// becomes 0, any other value 1. In the R Dist mode all three flags of the point take the new value.
// Every toggle marks the job changed. Returns the new value; a point or component outside the job
// changes nothing and returns -1.
int toggleUseFlag(JobState& job, std::int32_t point, int component, bool rDistMode);

// Makes `point` the first seed point when its name is none of the three seed names: the seeds move
// down one place (the third is dropped), and the job is marked changed. Returns whether the seeds
// changed.
bool chooseSeedPoint(JobState& job, std::int32_t point);

// Keeps the seed points valid before the table is filled: a seed whose index no longer names it is
// found again by name among the identical points; when one cannot be found, or no seed is set, the
// seeds become the defaults: the first two identical points and, with more than two, the third
// (with one point only the first; with two the third seed stays as it was unless it was lost).
// A repair, not an edit: the job is not marked changed. Returns whether the seeds changed.
bool checkSeedPoints(JobState& job);

}  // namespace kal
