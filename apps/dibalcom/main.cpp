// The DibalCom stand-in works in its current directory, where the driver starts it.
#include <filesystem>

#include "standin.h"

int main() {
    const std::filesystem::path dir = std::filesystem::current_path();
    standin::StandIn program(dir, standin::ReadControls(dir / "dibalcom.test"));
    return program.Run();
}
