#pragma once
// The calculation window's layout rules, in twips (1/1440 inch) as the window's design gives them:
// how the point table and the right-hand column follow the window's width, and how the table's
// column widths are read back from the settings file.
#include <optional>
#include <string>

namespace kal {

// The design positions the resize rule works from (twips).
struct CalculationWindowDesign {
    double tableLeft = 8040;         // L: left edge of the point table
    double normWidth = 1755;         // N: width of "Norm (Solution)"
    double standardsWidth = 1755;    // width of "Standards"
    double controlWidth = 1755;      // width of "Control"
    double buttonWidth = 1290;       // B: width of "copy this Form to clipboad" (and of "Cl&ose")
    double statisticsLeft = 120;     // the "Statistics" frame under the rows and the table, which
    double statisticsWidth = 15240;  // keeps its width: the two buttons stand right of it
};

// Where the resize puts things: the table's width and the left edges of the three frames of the
// right-hand column and of the two buttons under it.
struct CalculationWindowColumns {
    double tableWidth = 0;
    double normLeft = 0, standardsLeft = 0, controlLeft = 0;
    double buttonsLeft = 0;
    double statisticsWidth = 0;  // of the "Statistics" frame
};

// The smallest width of the point table; a narrower window pushes the right column out of view.
inline constexpr double kMinTableWidth = 540;

// (Form_Resize) For a client width W: the table gets W − L − N − 20, at least kMinTableWidth; each
// frame of the right column stands 10 twips from the right edge, the buttons centred under
// "Norm (Solution)"; when the table's right edge then lies right of that frame, the frames and
// buttons stand at the table's right edge instead. Heights and the left part do not change.
// The "Statistics" frame keeps its design width where the buttons stand right of it; in a
// narrower window it gives up the room its contents do not need (down to `statisticsMinimum`,
// twips), so the buttons are not drawn over its boxes.
CalculationWindowColumns layoutForWidth(double clientWidth, const CalculationWindowDesign& design = {},
                                        double statisticsMinimum = 0);

// The narrowest client width (twips) at which nothing is cut or covered: the right column, with
// its Calculate and STOP buttons, lies wholly inside the window (the table at its minimum and the
// widest frame of the column beside it, 10 twips from the right edge), and the two buttons under
// it stand clear of the "Statistics" frame at its minimum width `statisticsMinimum` (twips; the
// width its boxes need). At the table-based minimum alone "copy this Form to clipboad" was drawn
// over the frame's max/min deviation boxes.
double minimumClientWidth(const CalculationWindowDesign& design = {}, double statisticsMinimum = 0);

// The width in twips of a table column from its settings text (key "col_fb_N"): the leading
// number, rounded. A text without a leading number, 0, a negative width or one beyond
// kMaxColumnWidth gives 900.
int columnWidthFromSetting(const std::string& text);
inline constexpr int kMaxColumnWidth = 30000;

// The stored width of a column: columnWidthFromSetting of the value of `key` in the settings file;
// nothing when the file has no such key (the column then fits its contents).
std::optional<int> storedColumnWidth(const std::string& iniPath, const std::string& key);

}  // namespace kal
