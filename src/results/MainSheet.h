#pragma once
// The main sheet's contents (FuellenHaupttabelle): every point of the job in the OCS, one row per
// identical point, then the MCS-only and the OCS-only points, in 23 columns: the name, the
// transformed MCS point, the OCS point and their deviation (transformed MCS minus OCS), each in
// Cartesian, cylindrical and spherical form, in the display units. Column 22 is untitled and empty.
//
// Lazy: a refill takes the counts, the units and the transformation (R·K·S and T built once) and
// stores nothing per row; each cell is computed when the grid asks for it, so a refill of 10^6
// rows costs no more than one of 10 and a paint costs the visible cells only.
//
// The transformed MCS point of an identical row is always the one the job holds in `MCSt`: what the
// last calculation stored, and a plain copy of the MCS before the first one (a load, or a job file
// opened but not yet calculated, whatever parameters it holds). So the sheet, the calculation
// window's point table and the report show the same residuals for the same job state. The MCS-only
// points take the current parameter block applied to the MCS point (and so does an identical
// point of a job whose `MCSt` does not reach it).
//
// Rows are 0-based here (the grid's fixed header row is headerText()); row r is the sheet's row
// r + 1. The job may change under the sheet between two refills (a load resizes its arrays before
// it tells the windows): a cell whose point no longer exists reads as empty, never out of bounds.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/TransformModel.h"
#include "shared/GridSource.h"
#include "shared/JobState.h"

namespace kal {

inline constexpr std::int32_t kMainSheetColumns = 23;

// The titles of columns 0..22 ("Point ID", "MCS.x", ...; column 22 has none).
const std::array<const char*, kMainSheetColumns>& mainSheetTitles();

// True for the columns painted light yellow in every body row (4, 5, 6, 10, 11, 14, 15, 18, 19).
bool isYellowSheetColumn(std::int32_t column);

// The sheet's colours.
inline constexpr Rgb kSheetWhite{255, 255, 255};
inline constexpr Rgb kSheetYellow{255, 255, 0};
inline constexpr Rgb kSheetGreen{0, 255, 0};      // column 0 of identical rows
inline constexpr Rgb kSheetOrange{255, 128, 0};   // column 0 of OCS-only rows
inline constexpr Rgb kSheetHighlight{128, 0, 0};  // columns 1..21 of the current row
// The digits on the dark red current row: black on it cannot be read, white can.
inline constexpr Rgb kSheetHighlightText{255, 255, 255};

// φ' − φ brought into [−π, π]: 2π taken off above π, added below −π, strictly, so ±π stay
// (π = 3.14159265358979 here, as the sheet has always folded, not the azimuth's 3.1415926535).
double foldAzimuthDifference(double difference);

enum class SheetGroup : std::uint8_t { Identical, McsOnly, OcsOnly };

class MainSheet : public GridSource {
  public:
    explicit MainSheet(const JobState& job) : job_(job) {}

    // Takes the job as it is now: counts, units, the transformation. False, with the contents
    // left as they were, when the job has no points (N = 0). A value that cannot be computed
    // (a transformation that is not finite) shows as an empty cell, never as a failure.
    bool refill();
    // True after the first refill that found points: the sheet then has its 23 columns.
    bool filled() const { return filled_; }

    // The group of row `row` and the index of its point in the MCS arrays (identical, MCS-only)
    // or the OCS arrays (OCS-only).
    SheetGroup group(std::int32_t row) const;
    std::int32_t pointIndex(std::int32_t row) const;

    // The first row whose name (column 0) is `name`; nullopt when none. Built on first use after
    // a refill (O(N) once, then O(1)).
    std::optional<std::int32_t> rowOfName(const std::string& name) const;

    // The value a cell shows, in the display unit (angles in the angle unit, degrees-minutes-
    // seconds as decimal degrees); nullopt for an empty cell and for column 0 (names are text).
    // Sorting and charting take these, never the texts.
    std::optional<double> value(std::int32_t row, std::int32_t column) const;

    // The row painted as the current one (columns 1..21 dark red); nullopt: none. A refill
    // clears it.
    void setHighlightedRow(std::optional<std::int32_t> row) { highlighted_ = row; }
    std::optional<std::int32_t> highlightedRow() const { return highlighted_; }

    // GridSource
    std::int32_t rowCount() const override { return rows_; }
    std::int32_t columnCount() const override { return filled_ ? kMainSheetColumns : 0; }
    std::string headerText(std::int32_t column) const override;
    std::string text(std::int32_t row, std::int32_t column) const override;
    CellStyle style(std::int32_t row, std::int32_t column) const override;
    // Names sort as their texts read (numbers by value, else by their bytes); other cells by
    // value(), never by their texts, so degrees-minutes-seconds and a "," separator sort right.
    // Empty cells come after every number.
    SortKey sortKey(std::int32_t row, std::int32_t column) const override;

  private:
    enum class Kind : std::uint8_t { None, Length, Angle };
    struct Quantity {
        Kind kind = Kind::None;
        double amount = 0;  // millimetres or radians
    };
    struct Point3 {
        bool present = false;
        double x = 0, y = 0, z = 0;
    };

    Quantity quantity(std::int32_t row, std::int32_t column) const;
    Point3 transformedMcs(std::int32_t row) const;
    Point3 ocsPoint(std::int32_t row) const;
    std::string format(const Quantity& q) const;

    const JobState& job_;
    bool filled_ = false;
    std::int32_t rows_ = 0;
    std::int32_t identical_ = 0, mcsOnly_ = 0, ocsOnly_ = 0;
    bool storedTransformed_ = false;  // identical rows take MCSt (it reaches them)
    std::optional<PointTransform> transform_;
    double lengthFactor_ = 1, angleFactor_ = 1;
    std::string lengthFormat_, angleFormat_, angleUnit_;
    bool phiThetaAsLength_ = false;
    std::optional<std::int32_t> highlighted_;
    mutable std::optional<std::unordered_map<std::string, std::int32_t>> names_;
};

}  // namespace kal
