// Texts of the export buffer (module "kstools_KSExpBuf").
#pragma once

#include <string>

#include "runtime/lgtools.h"

namespace expbuftext {

inline constexpr const char* kModule = "kstools_KSExpBuf";

inline std::string Get(const TMLgExtTools* lg, const char* key, const char* defaultUtf8) {
    return GetString(lg, kModule, key, 0, defaultUtf8);
}

inline constexpr const char* kBadFormat = "Nieprawidłowy format pliku eksportowego";

}  // namespace expbuftext
