// SkalnixAction: construction, dispatch of the host's operation codes and the export flow.
#include "dibal/skalnixaction.h"

SkalnixAction::SkalnixAction(TKSLibrary* library, int opContext) : KSAction(library, opContext) {}

SkalnixAction::~SkalnixAction() = default;

std::string SkalnixAction::GetSharedResourceName() { return ParamAsString("DibalKatalogDrv"); }

std::string SkalnixAction::DeviceProperty(int number) { return number == 1104 ? "-1" : ""; }

void SkalnixAction::Operation(HTARGODLLSRODOWISKO& env, int code, int flags) {
    KSAction::Operation(env, code, flags);
}
