#include "shared/SortedGridSource.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kal {

SortedGridSource::SortedGridSource(const GridSource* base) : base_(base) {}

void SortedGridSource::setBase(const GridSource* base) {
    base_ = base;
    if (!base_ || column_ < 0 || column_ >= base_->columnCount() || base_->columnHidden(column_)) {
        column_ = -1;
        order_ = SortOrder::None;
    }
    resort();
}

bool SortedGridSource::sortBy(std::int32_t column, SortOrder order) {
    if (order == SortOrder::None) {
        column_ = -1;
        order_ = SortOrder::None;
        resort();
        return true;
    }
    if (!base_ || column < 0 || column >= base_->columnCount() || base_->columnHidden(column)) return false;
    column_ = column;
    order_ = order;
    resort();
    return true;
}

namespace {

// One row's key as the sort moves it: 16 bytes, so the sort runs over one contiguous array; the
// text (tie-break or text key) stays in its own array and is read only when the rest is equal.
struct PackedKey {
    double number;
    std::int32_t row;
    std::int32_t isText;  // numbers (0) before texts (1)
};

}  // namespace

void SortedGridSource::resort() {
    toBase_.clear();
    fromBase_.clear();
    if (!base_ || !sorted()) {
        toBase_.shrink_to_fit();
        fromBase_.shrink_to_fit();
        return;
    }
    const std::int32_t rows = base_->rowCount();
    std::vector<PackedKey> keys(static_cast<std::size_t>(rows));
    std::vector<std::string> texts(static_cast<std::size_t>(rows));
    for (std::int32_t row = 0; row < rows; ++row) {
        SortKey key = base_->sortKey(row, column_);
        // A value that is not finite has no place among the numbers (it would break the order).
        if (key.isNumber && !std::isfinite(key.number)) key = SortKey::ofText(std::move(key.text));
        const auto k = static_cast<std::size_t>(row);
        keys[k] = {key.isNumber ? key.number : 0.0, row, key.isNumber ? 0 : 1};
        texts[k] = std::move(key.text);
    }
    const auto before = [&texts](const PackedKey& a, const PackedKey& b) {
        if (a.isText != b.isText) return a.isText < b.isText;
        if (a.number != b.number) return a.number < b.number;
        // char_traits<char> compares as unsigned bytes
        return texts[static_cast<std::size_t>(a.row)] < texts[static_cast<std::size_t>(b.row)];
    };
    if (order_ == SortOrder::Ascending)
        std::stable_sort(keys.begin(), keys.end(), before);
    else
        std::stable_sort(keys.begin(), keys.end(),
                         [&](const PackedKey& a, const PackedKey& b) { return before(b, a); });
    texts.clear();
    texts.shrink_to_fit();

    toBase_.resize(keys.size());
    fromBase_.resize(keys.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        toBase_[row] = keys[row].row;
        fromBase_[static_cast<std::size_t>(keys[row].row)] = static_cast<std::int32_t>(row);
    }
}

std::int32_t SortedGridSource::mapped(std::int32_t row) const {
    if (!base_ || row < 0) return -1;
    std::int32_t target = row;
    if (sorted()) {
        if (static_cast<std::size_t>(row) >= toBase_.size()) return -1;
        target = toBase_[static_cast<std::size_t>(row)];
    }
    return target < base_->rowCount() ? target : -1;
}

std::int32_t SortedGridSource::baseRow(std::int32_t row) const { return mapped(row); }

std::int32_t SortedGridSource::rowOfBaseRow(std::int32_t baseRow) const {
    if (!base_ || baseRow < 0) return -1;
    if (!sorted()) return baseRow < base_->rowCount() ? baseRow : -1;
    if (static_cast<std::size_t>(baseRow) >= fromBase_.size()) return -1;
    return fromBase_[static_cast<std::size_t>(baseRow)];
}

std::int32_t SortedGridSource::rowCount() const {
    if (!base_) return 0;
    return sorted() ? static_cast<std::int32_t>(toBase_.size()) : base_->rowCount();
}

std::int32_t SortedGridSource::columnCount() const { return base_ ? base_->columnCount() : 0; }

std::string SortedGridSource::headerText(std::int32_t column) const {
    return base_ ? base_->headerText(column) : std::string();
}

std::string SortedGridSource::text(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? std::string() : base_->text(target, column);
}

CellStyle SortedGridSource::style(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? CellStyle{} : base_->style(target, column);
}

bool SortedGridSource::columnHidden(std::int32_t column) const {
    return base_ && base_->columnHidden(column);
}

std::int32_t SortedGridSource::longestTextRow(std::int32_t column) const {
    if (!base_) return -1;
    const std::int32_t longest = base_->longestTextRow(column);
    return longest < 0 ? -1 : rowOfBaseRow(longest);
}

SortKey SortedGridSource::sortKey(std::int32_t row, std::int32_t column) const {
    const std::int32_t target = mapped(row);
    return target < 0 ? SortKey::ofText({}) : base_->sortKey(target, column);
}

}  // namespace kal
