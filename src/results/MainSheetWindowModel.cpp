#include "results/MainSheetWindowModel.h"

#include <algorithm>
#include <exception>

#include "calculation/CalculationWindowLayout.h"
#include "shared/IniFile.h"
#include "shared/NumberText.h"

namespace kal {

void MainSheetWindowModel::leaveCell(SheetCell cell) {
    if (cellEventsOn_) last_ = cell;
}

void MainSheetWindowModel::enterCell(SheetCell cell) {
    if (cellEventsOn_) enter_ = cell;
}

std::optional<SheetRowChange> MainSheetWindowModel::rowChange() {
    if (!cellEventsOn_) return std::nullopt;
    return SheetRowChange{last_.row, enter_.row, std::to_string(last_.row), enter_};
}

SheetSortOrder MainSheetWindowModel::headerClicked(std::int32_t column) {
    if (column == sortColumn_ && sortOrder_ != SheetSortOrder::None)
        sortOrder_ =
            sortOrder_ == SheetSortOrder::Ascending ? SheetSortOrder::Descending : SheetSortOrder::Ascending;
    else
        sortOrder_ = SheetSortOrder::Ascending;
    sortColumn_ = column;
    last_.column = column;
    return sortOrder_;
}

GridRange SheetSelection::bodyRange() const {
    return GridRange{std::max(firstRow(), 1) - 1, firstColumn(), lastRow() - 1, lastColumn()};
}

std::string sheetTitleLine(const GridSource& sheet, const SheetSelection& selection) {
    std::string line;
    const std::int32_t last = std::min(selection.lastColumn(), sheet.columnCount() - 1);
    for (std::int32_t column = std::max(selection.firstColumn(), 0); column <= last; ++column)
        line += sheet.headerText(column) + '\t';
    return line + "\r\n";
}

std::string sheetCopyText(const GridSource& sheet, const SheetSelection& selection, bool withTitles) {
    std::string body = sheet.copyText(selection.bodyRange());
    return withTitles ? sheetTitleLine(sheet, selection) + body : body;
}

std::string sheetRowsText(const GridSource& sheet, const SheetSelection& selection, bool withTitles) {
    std::string body = sheet.copyTextWithEnds(selection.bodyRange());
    return withTitles ? sheetTitleLine(sheet, selection) + body : body;
}

std::vector<double> sheetSelectionValues(const GridSource& sheet, const SheetValueOf& value,
                                         const SheetSelection& selection) {
    std::vector<double> values;
    const GridRange r = selection.bodyRange();
    const std::int32_t column = selection.anchor.column;
    if (column < 0 || column >= sheet.columnCount()) return values;
    const std::int32_t lastRow = std::min(r.lastRow, sheet.rowCount() - 1);
    for (std::int32_t row = std::max(r.firstRow, 0); row <= lastRow; ++row) {
        double v = 0;
        if (column == 0) {
            try {
                v = leadingNumber(sheet.text(row, 0));
            } catch (const std::exception&) {
                v = 0;  // a name whose leading digits overflow a double
            }
        } else if (value) {
            v = value(row, column).value_or(0.0);
        }
        values.push_back(v);
    }
    return values;
}

std::optional<SheetGridSize> sheetGridSizeFor(double windowWidthTwips, double windowHeightTwips) {
    if (windowWidthTwips <= 110 || windowHeightTwips <= 420) return std::nullopt;
    return SheetGridSize{windowWidthTwips - 210, windowHeightTwips - 460};
}

std::string mainSheetCaption(const std::string& nameOcs) {
    return "Main Sheet - Data in " + nameOcs + " - OCS System";
}

std::array<std::optional<int>, 23> readSheetColumnWidths(const std::string& iniPath) {
    std::array<std::optional<int>, 23> widths{};
    for (int column = 0; column < 23; ++column)
        widths[static_cast<std::size_t>(column)] =
            storedColumnWidth(iniPath, "Col_" + std::to_string(column));
    return widths;
}

}  // namespace kal
