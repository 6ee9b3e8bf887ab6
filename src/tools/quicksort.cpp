// TLQuickSort: Hoare quicksort and binary searches over element indices.
#include "tools/quicksort.h"

#include <vector>

void TLQuickSort::SetNumDone(int) {}
int TLQuickSort::SortCompare(int, int) { return 0; }
int TLQuickSort::ExChange(int, int) { return 0; }
int TLQuickSort::FindCompare(int) { return 0; }

namespace {

// One pending sub-range of the sort. The recursion (left part, then right part, then the
// progress call) runs on a heap stack so that a degenerate input cannot exhaust the call stack.
struct SortFrame {
    int l, r;
    int i = 0, j = 0;
    int phase = 0;  // 0 partition, 1 left part done, 2 right part done
};

}  // namespace

int TLQuickSort::Sort(int l, int r) {
    if (l > r) return 0;  // an empty range has nothing to compare
    std::vector<SortFrame> stack;
    stack.push_back(SortFrame{l, r});
    while (!stack.empty()) {
        SortFrame& f = stack.back();
        if (f.phase == 0) {
            int i = f.l, j = f.r;
            int m = static_cast<int>((static_cast<long long>(f.l) + f.r) / 2);
            do {
                while (SortCompare(i, m) < 0) ++i;
                while (SortCompare(m, j) < 0) --j;
                if (i <= j) {
                    // The pivot is followed by its index when it is exchanged.
                    if (m == i)
                        m = j;
                    else if (m == j)
                        m = i;
                    ExChange(i, j);
                    ++i;
                    --j;
                }
            } while (i <= j);
            f.i = i;
            f.j = j;
            f.phase = 1;
            if (f.l < j) {
                int left = f.l;
                stack.push_back(SortFrame{left, j});  // invalidates f
            }
        } else if (f.phase == 1) {
            f.phase = 2;
            if (f.i < f.r) {
                int i = f.i, right = f.r;
                stack.push_back(SortFrame{i, right});  // invalidates f
            }
        } else {
            int done = f.r;
            stack.pop_back();
            SetNumDone(done);
        }
    }
    return 0;
}

int TLQuickSort::Find(int l, int r) {
    if (!Sorted) {
        Sort(l, r);
        Sorted = true;
    }
    // Bisection; written as a loop, it meets the same elements as the recursive form.
    for (;;) {
        if (l > r) {
            InsertPlace = r + 1;
            return -1;
        }
        int m = l + (r - l) / 2;
        int c = FindCompare(m);
        if (c == 0) return m;
        if (c < 0)
            r = m - 1;
        else
            l = m + 1;
    }
}

int TLQuickSort::FindInsertPlace(int l, int r) {
    if (l > r) return l;  // an empty range: the key goes at its start
    if (!Sorted) {
        Sort(l, r);
        Sorted = true;
    }
    if (FindCompare(l) < 0) return l;
    if (FindCompare(r) > 0) return r + 1;
    InsertPlace = -1;
    Find(l, r);
    return InsertPlace;
}
