// TSkalnixLibrary: the scale driver's library object.
#pragma once

#include "plugin/kslibrary.h"

class TSkalnixLibrary : public TKSLibrary {
public:
    using TKSLibrary::TKSLibrary;
    TKSActionBase* CreateOperation(int opContext) override;
    int ShowWindow(TKSActionBase* operation, int index, char* buf, int* functionNumber,
                   bool flag) override;
};
