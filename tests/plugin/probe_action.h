// A concrete operation of the framework for tests of the operation toolkit.
#pragma once

#include <memory>
#include <string>

#include "plugin/ksaction.h"
#include "support/test_host.h"

struct ProbeAction : KSAction {
    using KSAction::KSAction;
    std::string GetSharedResourceName() override { return "probe"; }
};

// An operation on the host's library with the host's operation context.
inline std::unique_ptr<ProbeAction> MakeProbe(TestHost& host) {
    return std::make_unique<ProbeAction>(host.Library(), host.opContext);
}
