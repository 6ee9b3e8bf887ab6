// The current Env and its replacement in tests.
#include "platform/env.h"

namespace platform {

namespace {
Env* g_current = nullptr;
}  // namespace

Env& env() { return g_current != nullptr ? *g_current : DefaultEnv(); }

ScopedEnv::ScopedEnv(Env& replacement) : previous_(g_current) { g_current = &replacement; }

ScopedEnv::~ScopedEnv() { g_current = previous_; }

}  // namespace platform
