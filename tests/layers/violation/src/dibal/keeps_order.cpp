// A scale-driver file that uses only what lies below it.
#include "plugin/ksaction.h"
#include "runtime/exceptions.h"
