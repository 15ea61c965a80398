#pragma once

// The state of a list edit control.

#include <map>

#include "corekit80/dialogs/TC_ListEditCtrl.h"

class TC_ListEditCtrl::TC_ListEditCtrlImpl {
public:
    struct ColumnRecord {
        Type type = TYPE_NONE;
        unsigned long flags = 0;
    };

    TCListView* view;
    CArray<CStringArray> content;
    // By column index, as InsertColumn was given it.
    std::map<int, ColumnRecord> columns;
    std::map<int, CStringArray> combos;
    CArray<double> fractions;
    TCListCellEditor editor;
};
