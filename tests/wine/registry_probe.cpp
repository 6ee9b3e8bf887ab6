// Prints the host's binaries directory as the driver's utility object reads it from the registry.
#include <cstdio>

#include "tools/ltools.h"

int main() {
    std::printf("[%s]\n", TLTools::WczytajSciezkeDoBinariow().c_str());
    return 0;
}
