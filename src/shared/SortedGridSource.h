#pragma once
// A GridSource shown in another row order: the rows of a base source sorted by one column, as a
// click on a column header sorts a table. The base is never changed; this source maps each of its
// rows through a permutation onto a row of the base.
//
// Keys are read once per sort: one base sortKey() per row into a key array, then a stable sort of
// row numbers on those keys, so no cell is formatted or parsed inside a comparison. The key order
// is compareSortKeys' (numbers before texts, numbers by value with ties on the text, texts by their
// bytes); rows with equal keys keep the base's order, ascending and descending alike.
//
// Cost: a sort is O(n log n) comparisons plus n sortKey() calls; memory 8 bytes per row kept (the
// permutation and its inverse) and about 64 bytes per row while sorting (a 16-byte packed key, its
// text and the stable sort's buffer, freed after). A non-finite number key sorts as a text.
// Without an order (SortOrder::None) the rows are the base's and nothing is kept.
//
// Hidden columns are never sort columns (a sortBy on one is refused) and, as in every source, never
// copied. After the base changed its rows, call resort() before the grid is refreshed: the row count
// and the permutation are the ones of the last sort.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/GridSource.h"

namespace kal {

enum class SortOrder : std::uint8_t { None, Ascending, Descending };

class SortedGridSource : public GridSource {
  public:
    // `base` may be null (an empty table) and must outlive this source or be replaced first.
    explicit SortedGridSource(const GridSource* base = nullptr);

    const GridSource* base() const { return base_; }
    // Shows another base, sorted by the same column and order where that column exists and is
    // shown in the new base, else in the base's order.
    void setBase(const GridSource* base);

    // Sorts all rows by `column` in `order` (None: back to the base's order). Refused (false,
    // nothing changed) for a column outside the table or a hidden one.
    bool sortBy(std::int32_t column, SortOrder order);
    std::int32_t sortColumn() const { return column_; }  // -1 when unsorted
    SortOrder sortOrder() const { return order_; }

    // The base's rows changed (their number or their contents): takes them anew and sorts them
    // again by the same column and order.
    void resort();

    // The base row shown in `row`, and the row that shows `baseRow` (-1 when none).
    std::int32_t baseRow(std::int32_t row) const;
    std::int32_t rowOfBaseRow(std::int32_t baseRow) const;

    std::int32_t rowCount() const override;
    std::int32_t columnCount() const override;
    std::string headerText(std::int32_t column) const override;
    std::string text(std::int32_t row, std::int32_t column) const override;
    CellStyle style(std::int32_t row, std::int32_t column) const override;
    bool columnHidden(std::int32_t column) const override;
    std::int32_t longestTextRow(std::int32_t column) const override;
    SortKey sortKey(std::int32_t row, std::int32_t column) const override;

  private:
    bool sorted() const { return order_ != SortOrder::None; }
    // The base row of `row`, or -1 when the base no longer has it (it shrank before a resort()).
    std::int32_t mapped(std::int32_t row) const;

    const GridSource* base_ = nullptr;
    std::int32_t column_ = -1;
    SortOrder order_ = SortOrder::None;
    std::vector<std::int32_t> toBase_;    // row -> base row, when sorted
    std::vector<std::int32_t> fromBase_;  // base row -> row, when sorted
};

}  // namespace kal
