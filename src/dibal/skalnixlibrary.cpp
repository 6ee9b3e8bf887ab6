// TSkalnixLibrary: creates the scale operation and names the additional function.
#include "dibal/skalnixlibrary.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "dibal/catalogue.h"
#include "dibal/skalnixaction.h"
#include "targodll.h"

TKSActionBase* TSkalnixLibrary::CreateOperation(int opContext) {
    return new SkalnixAction(this, opContext);
}

int TSkalnixLibrary::ShowWindow(TKSActionBase*, int index, char* buf, int* functionNumber,
                                bool) {
    if (index != 0) return 0;
    const std::string name = DriverText("alPokazOknstrcpyop_nazwa", "Zapisz konfigurację DibalCom");
    if (buf != nullptr) {
        // The host's buffer size is not agreed here: write only the name and its terminator,
        // never more than a standard buffer holds.
        const std::size_t n = std::min({name.find('\0'), name.size(), std::size_t{TARGODLL_BUFSIZE - 1}});
        std::memcpy(buf, name.data(), n);
        buf[n] = '\0';
    }
    if (functionNumber != nullptr) *functionNumber = 0;
    return 1;
}
