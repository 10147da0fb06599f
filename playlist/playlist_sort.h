#pragma once
// The playlist's sort: a quicksort over a two-row table,
// row 0 the sort keys (titles), row 1 the paths; the two cells of a column
// always move together. Keys compare with letter case ignored, in the user's
// collation. Not stable: equal keys end in no guaranteed order.
#include <QString>
#include <vector>

namespace playlist {

struct SortTable {
    std::vector<QString> keys;  // row 0
    std::vector<QString> paths; // row 1
};

// Order: 1 ascending (A to Z), -1 descending. Compare mode 1: text
// comparison, letter case ignored (the only mode the program uses).
inline constexpr int kAscending = 1;
inline constexpr int kDescending = -1;
inline constexpr int kTextCompare = 1;

// Sorts columns low..high (inclusive) of `table`. Recursion goes into the
// smaller part only, so its depth stays logarithmic in the column count.
void quickSort(SortTable& table, int low, int high, int order, int compareMode);

// One partition step over low..high: the middle column is the pivot; returns
// the pivot's final column.
int partition(SortTable& table, int low, int high, int order, int compareMode);

} // namespace playlist
