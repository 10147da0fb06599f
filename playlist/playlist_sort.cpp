#include "playlist/playlist_sort.h"

#include <QCollator>
#include <QLocale>
#include <utility>

namespace playlist {

namespace {

// Compares keys in the user's collation; compare mode 1 ignores letter case.
class KeyOrder {
public:
    KeyOrder(int order, int compareMode) : order_(order) {
        collator_.setCaseSensitivity(compareMode == kTextCompare ? Qt::CaseInsensitive
                                                                 : Qt::CaseSensitive);
    }
    int compare(const QString& a, const QString& b) const { return collator_.compare(a, b); }
    // True when `a` goes strictly before `b` in the requested order.
    bool before(const QString& a, const QString& b) const {
        const int c = compare(a, b);
        return order_ > 0 ? c < 0 : c > 0;
    }
    bool after(const QString& a, const QString& b) const { return before(b, a); }

private:
    QCollator collator_{QLocale::system()};
    int order_;
};

void copyColumn(SortTable& t, int from, int to) {
    t.keys[to] = t.keys[from];
    t.paths[to] = t.paths[from];
}

void swapColumns(SortTable& t, int a, int b) {
    std::swap(t.keys[a], t.keys[b]);
    std::swap(t.paths[a], t.paths[b]);
}

int partitionWith(SortTable& t, int low, int high, const KeyOrder& order) {
    const int mid = low + (high - low) / 2;
    const QString pivotKey = t.keys[mid];
    const QString pivotPath = t.paths[mid];
    copyColumn(t, low, mid);
    int i = low + 1;
    int j = high;
    for (;;) {
        while (j > i && order.before(t.keys[i], pivotKey))
            ++i;
        while (j >= i && order.after(t.keys[j], pivotKey))
            --j;
        if (i >= j) {
            copyColumn(t, j, low);
            t.keys[j] = pivotKey;
            t.paths[j] = pivotPath;
            return j;
        }
        swapColumns(t, i, j);
        ++i;
        --j;
    }
}

void quickSortWith(SortTable& t, int low, int high, const KeyOrder& order) {
    while (low < high) {
        const int p = partitionWith(t, low, high, order);
        if (p - low <= high - p) {
            quickSortWith(t, low, p - 1, order);
            low = p + 1;
        } else {
            quickSortWith(t, p + 1, high, order);
            high = p - 1;
        }
    }
}

} // namespace

void quickSort(SortTable& table, int low, int high, int order, int compareMode) {
    quickSortWith(table, low, high, KeyOrder(order, compareMode));
}

int partition(SortTable& table, int low, int high, int order, int compareMode) {
    return partitionWith(table, low, high, KeyOrder(order, compareMode));
}

} // namespace playlist
