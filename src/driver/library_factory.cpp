#include "driver/library_factory.h"

#include "dibal/skalnixlibrary.h"

TKSLibrary* CreateDriverLibrary(int hostContext) { return new TSkalnixLibrary(hostContext); }
