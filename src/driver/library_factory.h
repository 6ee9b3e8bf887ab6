// The library object the exported registration hands to the host.
#pragma once

class TKSLibrary;

// Creates the scale driver's library object (TSkalnixLibrary) and makes it current.
TKSLibrary* CreateDriverLibrary(int hostContext);
