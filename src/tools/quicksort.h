// TLQuickSort: sorts and binary-searches a collection it does not own. The derived class
// compares and exchanges elements by index; the base supplies the sort and the searches.
#pragma once

#include "runtime/api.h"

class SKALNIX_FRAMEWORK_API TLQuickSort {
public:
    virtual ~TLQuickSort() = default;

    // Progress hook: called by Sort after each finished sub-range with its upper bound.
    virtual void SetNumDone(int n);
    // Negative when element i sorts before element j, zero when equal, positive otherwise.
    virtual int SortCompare(int i, int j);
    // Swaps elements i and j.
    virtual int ExChange(int i, int j);
    // Compares the derived object's search key with element i.
    virtual int FindCompare(int i);

    int Sort(int l, int r);            // Hoare quicksort of l..r that follows its pivot; 0
    int Find(int l, int r);            // index of an element equal to the key, or -1
    int FindInsertPlace(int l, int r); // where the key belongs, or -1 when it is present

    int InsertPlace = 0;
    bool Sorted = false;
};
