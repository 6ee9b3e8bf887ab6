// A runtime file that needs the scale driver: the layer check must refuse it.
#include "runtime/exceptions.h"
#include "dibal/skalnixaction.h"
