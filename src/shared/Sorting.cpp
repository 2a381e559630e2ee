#include "shared/Sorting.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace kal {
namespace {

// Numeric names shorter than this are compared as if left-padded with "0" to this length.
constexpr std::int32_t kPaddedLength = 50;

// A name compared as its padded text T = 0^z R (z leading "0" characters, R the rest, which does
// not start with "0"), broken into a key that orders exactly like T byte by byte:
// - where two texts differ in z, the one with fewer zeros decides at that position by R's first
//   byte: none or one below "0" sorts it first, one above "0" last. So texts whose R starts low
//   (or is empty) rank by increasing z, those whose R starts high by decreasing z, and all the
//   low ones before all the high ones;
// - equal z compare by R.
// `group` encodes the first rule; `prefix` caches R's first eight bytes so most comparisons touch
// no string at all.
struct NameKey {
    std::int64_t group;
    std::uint64_t prefix;
    std::string_view rest;  // R, a view into the name or empty
    const std::string* text;
    std::int32_t position;  // before the sort
};

NameKey keyOf(const std::string& name, std::int32_t position) {
    const bool padded = isNumericName(name) && name.size() < static_cast<std::size_t>(kPaddedLength);
    const std::size_t pad = padded ? static_cast<std::size_t>(kPaddedLength) - name.size() : 0;
    const std::size_t ownZeros = std::min(name.find_first_not_of('0'), name.size());
    const std::string_view rest = std::string_view(name).substr(ownZeros);
    const auto zeros = static_cast<std::int64_t>(pad + ownZeros);
    const bool low = rest.empty() || static_cast<unsigned char>(rest[0]) < static_cast<unsigned char>('0');
    constexpr std::int64_t kHigh = std::int64_t{1} << 40;  // above any count of zeros
    std::uint64_t prefix = 0;
    for (std::size_t b = 0; b < 8; ++b)
        prefix = (prefix << 8) | (b < rest.size() ? static_cast<unsigned char>(rest[b]) : 0u);
    return {low ? zeros : kHigh - zeros, prefix, rest, &name, position};
}

bool nameBefore(const NameKey& a, const NameKey& b) {
    if (a.group != b.group) return a.group < b.group;
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (const int c = a.rest.compare(b.rest); c != 0) return c < 0;
    if (const int c = a.text->compare(*b.text); c != 0) return c < 0;
    return a.position < b.position;
}

// (lo + hi) / 2 rounded to the nearest integer, halves to even.
std::int32_t middleHalfEven(std::int32_t lo, std::int32_t hi) {
    const std::int64_t sum = static_cast<std::int64_t>(lo) + hi;
    std::int64_t half = sum / 2;
    if (sum % 2 != 0) {
        if (sum < 0) --half;        // floor
        if (half % 2 != 0) ++half;  // of half and half + 1, the even one
    }
    return static_cast<std::int32_t>(half);
}

void swapRows(Matrix& table, std::int32_t a, std::int32_t b) {
    for (std::int32_t c = 0; c <= table.cols(); ++c) std::swap(table(a, c), table(b, c));
}

}  // namespace

bool nameSortsBefore(const std::string& a, const std::string& b) {
    // Position 0 for both: equal texts are equal here.
    return nameBefore(keyOf(a, 0), keyOf(b, 0));
}

bool isNumericName(const std::string& name) {
    return std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void sortNames(std::vector<std::string>& names, std::vector<std::int32_t>& index) {
    if (names.empty()) names.emplace_back();
    const auto n = static_cast<std::int32_t>(names.size()) - 1;
    std::vector<NameKey> keys;
    keys.reserve(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i) keys.push_back(keyOf(names[static_cast<std::size_t>(i)], i));
    // A lambda, not the function's address: the comparison is inlined into the sort.
    std::sort(keys.begin(), keys.end(), [](const NameKey& a, const NameKey& b) { return nameBefore(a, b); });

    std::vector<std::string> sorted(static_cast<std::size_t>(n) + 1);
    sorted[0] = std::move(names[0]);
    index.assign(static_cast<std::size_t>(n) + 1, 0);
    for (std::int32_t i = 1; i <= n; ++i) {
        const NameKey& key = keys[static_cast<std::size_t>(i - 1)];
        sorted[static_cast<std::size_t>(i)] = std::move(names[static_cast<std::size_t>(key.position)]);
        index[static_cast<std::size_t>(i)] = key.position;
    }
    names = std::move(sorted);
}

void quickSortNames(std::vector<std::string>& names, std::vector<std::int32_t>& index, std::int32_t lo,
                    std::int32_t hi, bool descending) {
    while (lo < hi) {  // a range of one entry or none changes nothing
        if (lo < 0 || static_cast<std::size_t>(hi) >= names.size() ||
            static_cast<std::size_t>(hi) >= index.size())
            throw std::out_of_range("QuickSortNames: range outside the list");
        auto at = [&](std::int32_t k) -> std::string& { return names[static_cast<std::size_t>(k)]; };
        std::int32_t i = lo, j = hi;
        const std::string pivot = at(middleHalfEven(lo, hi));
        while (i <= j) {
            if (descending) {
                while (at(i) > pivot && i < hi) ++i;
                while (pivot > at(j) && j > lo) --j;
            } else {
                while (at(i) < pivot && i < hi) ++i;
                while (pivot < at(j) && j > lo) --j;
            }
            if (i <= j) {
                std::swap(at(i), at(j));
                std::swap(index[static_cast<std::size_t>(i)], index[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        if (lo < j) quickSortNames(names, index, lo, j, descending);
        lo = i;  // then i..hi, as a loop rather than a second recursion
    }
}

void quickSortRows(std::int32_t lo, std::int32_t hi, std::int32_t column, bool ascending, Matrix& table) {
    while (lo < hi) {
        if (lo < 0 || hi > table.rows() || column < 0 || column > table.cols())
            throw std::out_of_range("QuickSortRows: rows or column outside the table");
        auto key = [&](std::int32_t r) { return table(r, column); };
        auto before = [ascending](double a, double b) { return ascending ? a < b : a > b; };
        std::int32_t i = lo, j = hi;
        const double pivot = key((lo + hi) / 2);
        do {
            // The pivot's own value stops both scans; the bounds only guard against a value
            // that compares false with everything.
            while (before(key(i), pivot) && i < hi) ++i;
            while (before(pivot, key(j)) && j > lo) --j;
            if (i < j) {
                if (key(i) != key(j)) swapRows(table, i, j);
                ++i;
                --j;
            } else if (i == j) {
                ++i;
                --j;
            }
        } while (!(j < i));
        if (lo < j) quickSortRows(lo, j, column, ascending, table);
        lo = i;
    }
}

void sortRowsByKeys(const std::vector<std::int32_t>& keys, Matrix& table) {
    const std::int32_t n = table.rows();
    if (n < 2) return;
    std::vector<std::pair<std::int32_t, std::int32_t>> ranges{{1, n}};
    for (const std::int32_t key : keys) {
        if (key == 0) continue;
        const std::int32_t column = key < 0 ? -key : key;
        if (column > table.cols())
            throw std::out_of_range("SortRowsByKeys: no column " + std::to_string(column));
        std::vector<std::pair<std::int32_t, std::int32_t>> next;
        for (const auto& [first, last] : ranges) {
            if (first == last) continue;  // a single row is done
            quickSortRows(first, last, column, key > 0, table);
            std::int32_t runStart = first;
            for (std::int32_t r = first + 1; r <= last + 1; ++r)
                if (r > last || table(r, column) != table(runStart, column)) {
                    next.emplace_back(runStart, r - 1);
                    runStart = r;
                }
        }
        ranges = std::move(next);
    }
}

}  // namespace kal
