#pragma once
// Sorting of point names and of table rows. Texts compare by their bytes (character codes, so
// capital B before small a; UTF-8 names sort in code-point order); numbers by value.
#include <cstdint>
#include <string>
#include <vector>

#include "shared/Matrix.h"

namespace kal {

// Sorts names 1..n (entry 0 neither read nor moved) and sizes index to 0..n with index(i) =
// the position before the sort of the name now at position i (SortNames). Purely numeric names sort by
// value, as if left-padded with "0" to 50 characters: names whose first character sorts below
// "0" come first, then the numeric names by value, then all others by character code. Names
// equal after padding ("7", "07", "007") stay distinct: ties go by the text, then by the
// position before the sort, so the order is fully determined and equal names end up side by
// side. Names come back exactly as they were.
void sortNames(std::vector<std::string>& names, std::vector<std::int32_t>& index);

// The order of sortNames for two names: true when `a` comes before `b`; false for equal texts.
bool nameSortsBefore(const std::string& a, const std::string& b);

// True when every character is a digit 0-9 (also for the empty text) (IsNumericName).
bool isNumericName(const std::string& name);

// Recursive partition sort of entries lo..hi of names by character code, ascending or
// descending, moving index along (QuickSortNames). Names that compare equal keep no particular order.
void quickSortNames(std::vector<std::string>& names, std::vector<std::int32_t>& index, std::int32_t lo,
                    std::int32_t hi, bool descending);

// Sorts rows 1..table.rows() by the columns |key| of keys in turn (a positive key ascending, a
// negative one descending, 0 skipped, so a 1-based key list with entry 0 = 0 works too): each key
// orders the rows only within the groups on which all earlier keys agree (SortRowsByKeys). Rows move whole
// (columns 0..cols()). The order among rows equal in every key is the one quickSortRows gives.
void sortRowsByKeys(const std::vector<std::int32_t>& keys, Matrix& table);

// Partition sort of rows lo..hi of the table by one column (QuickSortRows). Rows with equal values in that
// column are never exchanged with each other.
void quickSortRows(std::int32_t lo, std::int32_t hi, std::int32_t column, bool ascending, Matrix& table);

}  // namespace kal
