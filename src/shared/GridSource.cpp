#include "shared/GridSource.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace kal {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The value of a text that reads as a number as a whole: blanks around it, an optional sign, digits
// with at most one "." or "," among or after them (at least one digit), an optional exponent.
std::optional<double> genericNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);

    std::string plain;  // what from_chars reads: no "+", "." as the decimal point
    plain.reserve(text.size());
    std::size_t k = 0;
    if (text[k] == '+' || text[k] == '-') {
        if (text[k] == '-') plain += '-';
        ++k;
    }
    bool digits = false, point = false;
    for (; k < text.size(); ++k) {
        const char c = text[k];
        if (isDigit(c)) {
            digits = true;
            plain += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            plain += '.';
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (k < text.size() && (text[k] == 'e' || text[k] == 'E')) {
        plain += 'e';
        ++k;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) plain += text[k++];
        const std::size_t exponentStart = k;
        while (k < text.size() && isDigit(text[k])) plain += text[k++];
        if (k == exponentStart) return std::nullopt;
    }
    if (k != text.size()) return std::nullopt;

    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int compareTexts(const std::string& a, const std::string& b) {
    const int c = a.compare(b);  // char_traits<char> compares as unsigned bytes
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The visible columns of `range` clipped to the table, and its clipped rows; false when nothing is left.
bool clippedBlock(const GridSource& source, const GridRange& range, std::int32_t& firstRow,
                  std::int32_t& lastRow, std::vector<std::int32_t>& columns) {
    firstRow = std::max(range.firstRow, 0);
    lastRow = std::min(range.lastRow, source.rowCount() - 1);
    const std::int32_t firstColumn = std::max(range.firstColumn, 0);
    const std::int32_t lastColumn = std::min(range.lastColumn, source.columnCount() - 1);
    for (std::int32_t column = firstColumn; column <= lastColumn; ++column)
        if (!source.columnHidden(column)) columns.push_back(column);
    return firstRow <= lastRow && !columns.empty();
}

}  // namespace

SortKey SortKey::ofCellText(std::string text) {
    if (const std::optional<double> value = genericNumber(text)) return ofNumber(*value, std::move(text));
    return ofText(std::move(text));
}

int compareSortKeys(const SortKey& a, const SortKey& b) {
    if (a.isNumber != b.isNumber) return a.isNumber ? -1 : 1;
    if (a.isNumber) {
        if (a.number < b.number) return -1;
        if (a.number > b.number) return 1;
    }
    return compareTexts(a.text, b.text);
}

std::string GridSource::copyText(const GridRange& range) const {
    std::int32_t firstRow = 0, lastRow = -1;
    std::vector<std::int32_t> columns;
    if (!clippedBlock(*this, range, firstRow, lastRow, columns)) return {};

    std::string out;
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        if (row > firstRow) out += "\r\n";
        for (std::size_t k = 0; k < columns.size(); ++k) {
            if (k > 0) out += '\t';
            out += text(row, columns[k]);
        }
    }
    return out;
}

std::string GridSource::copyTextWithEnds(const GridRange& range) const {
    std::int32_t firstRow = 0, lastRow = -1;
    std::vector<std::int32_t> columns;
    if (!clippedBlock(*this, range, firstRow, lastRow, columns)) return {};

    std::string out;
    for (std::int32_t row = firstRow; row <= lastRow; ++row) {
        for (const std::int32_t column : columns) {
            out += text(row, column);
            out += '\t';
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace kal
