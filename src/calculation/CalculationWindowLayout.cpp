#include "calculation/CalculationWindowLayout.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "shared/IniFile.h"
#include "shared/NumberText.h"

namespace kal {

namespace {
// The room between the "Statistics" frame and the buttons right of it.
constexpr double kStatisticsGap = 120;
}  // namespace

CalculationWindowColumns layoutForWidth(double clientWidth, const CalculationWindowDesign& d,
                                        double statisticsMinimum) {
    CalculationWindowColumns c;
    // Whole twips, as the table's width is an integer; an int, so a wide screen is no limit.
    c.tableWidth = std::round(clientWidth - d.tableLeft - d.normWidth - 20);
    if (c.tableWidth < kMinTableWidth) c.tableWidth = kMinTableWidth;
    c.normLeft = clientWidth - d.normWidth - 10;
    c.standardsLeft = clientWidth - d.standardsWidth - 10;
    c.controlLeft = clientWidth - d.controlWidth - 10;
    c.buttonsLeft = (clientWidth - d.normWidth - 10) + (d.normWidth - d.buttonWidth) / 2;
    const double tableRight = d.tableLeft + c.tableWidth;
    if (tableRight > c.normLeft) c.normLeft = c.standardsLeft = c.controlLeft = c.buttonsLeft = tableRight;
    const double room = std::round(c.buttonsLeft - kStatisticsGap - d.statisticsLeft);
    c.statisticsWidth =
        std::max(std::min(d.statisticsWidth, room), std::min(statisticsMinimum, d.statisticsWidth));
    return c;
}

double minimumClientWidth(const CalculationWindowDesign& d, double statisticsMinimum) {
    const double rightColumn =
        d.tableLeft + kMinTableWidth + std::max({d.normWidth, d.standardsWidth, d.controlWidth}) + 10;
    // The buttons stand at W − N − 10 + (N − B) / 2 (layoutForWidth), a small gap right of the frame.
    const double statistics = std::min(statisticsMinimum, d.statisticsWidth);
    const double buttonsClear =
        d.statisticsLeft + statistics + kStatisticsGap + d.normWidth + 10 - (d.normWidth - d.buttonWidth) / 2;
    return std::ceil(std::max(rightColumn, buttonsClear));
}

int columnWidthFromSetting(const std::string& text) {
    constexpr int kFallback = 900;
    double value = 0;
    try {
        value = leadingNumber(text);
    } catch (const std::exception&) {
        return kFallback;  // a number too large to hold
    }
    const double rounded = std::nearbyint(value);  // halves to even, as the settings' conversions round
    if (rounded <= 0 || rounded > kMaxColumnWidth) return kFallback;
    return static_cast<int>(rounded);
}

std::optional<int> storedColumnWidth(const std::string& iniPath, const std::string& key) {
    const std::optional<std::string> text = findIniValue(iniPath, key);
    if (!text) return std::nullopt;
    return columnWidthFromSetting(*text);
}

}  // namespace kal
