#pragma once
// What one flag shows: a table of 5 rows × 9 columns beside a point of a graphics window — the
// point's name, its actual and nominal coordinates, its deviation in Cartesian, cylindrical and
// spherical form, the spatial deviation, and which observations take part in the adjustment.
//
//   row 0  name     "x" "y" "z" "R" "Phi" "Rho" "Theta" "3D Dev."
//   row 1  "Actual"   a.x a.y a.z  R_a  φ_a  ρ_a  θ_a
//   row 2  "Nominal"  n.x n.y n.z  R_n  φ_n  ρ_n  θ_n
//   row 3  "Dev."     dx  dy  dz   ΔR   Δφ   Δρ   Δθ   spatial deviation
//   row 4  "use"      use x, y, z
//
// The table is drawn by the graphics window (flagPrimitives), not by a widget per flag, so a
// job with a flag on every point stays responsive.
#include <array>
#include <cstdint>
#include <string>

#include "platform/TextMetrics.h"
#include "shared/ImageBuffer.h"
#include "shared/JobState.h"
#include "shared/ViewRecords.h"
#include "view3d/DisplayList.h"
#include "view3d/PointCloud.h"

namespace kal {

inline constexpr int kFlagRows = 5;
inline constexpr int kFlagColumns = 9;
inline constexpr int kFlagUseRow = 4;

enum class FlagAlign : std::uint8_t { Default, CentreTop, LeftCentre, RightTop };

struct FlagCell {
    std::string text;
    FlagAlign align = FlagAlign::Default;
    bool bold = false;
    bool hasBackground = false;  // the use cells carry their own white or yellow
    StoredColour background = 0;
    bool operator==(const FlagCell&) const = default;
};

// One flag's table as it is drawn: cells, the pixel size of each column and row (0 = hidden),
// the whole size, and its colours and font.
struct FlagTable {
    std::array<std::array<FlagCell, kFlagColumns>, kFlagRows> cells;
    std::array<int, kFlagColumns> columnWidth{};
    std::array<int, kFlagRows> rowHeight{};
    int width = 0;
    int height = 0;
    StoredColour background = storedColour(255, 255, 255);
    StoredColour gridLines = 0;
    StoredColour textColour = 0;
    platform::TextFont font;
    bool operator==(const FlagTable&) const = default;
};

// The font a flag is drawn and measured with: the layout's font fields, an empty name or a
// size below 1 meaning the window's own.
platform::TextFont flagFont(const FahneRecord& layout);
// The font of one cell: the flag's, bold where the cell is bold.
platform::TextFont flagCellFont(const FlagTable& table, const FlagCell& cell);
// Where a cell's text sits: its own alignment, or for a cell without one the grid's general
// rule: a number right, any other text left, both vertically centred.
TextAlign flagTextAlign(const FlagCell& cell);

// FahneFüllen: fills `table` for cloud row `row` with the layout `layout`. Row 0 leaves the
// table as it was. Every cell is written afresh, so a flag that now labels another point
// never keeps the old point's use marks. `colorBased` is the window's `ColorBased` ("x", "y",
// "z" sign the spatial deviation by that component). Use marks are shown for both rows of an
// identical point (rows 1..2n of the cloud), since both label the same observations.
void fillFlag(FlagTable& table, const FahneRecord& layout, std::int32_t row, const PointCloud& cloud,
              const JobState& job, const std::string& colorBased, const platform::TextMetrics& metrics);

// The identical point (1..IdenticalCount) whose observations cloud row `row` shows: the MCS side
// (rows 1..n) and the OCS side (rows n+1..2n) of point i both give i; any other row gives 0.
std::int32_t identicalPointOfRow(std::int32_t row, std::int32_t identicalCount);

}  // namespace kal
