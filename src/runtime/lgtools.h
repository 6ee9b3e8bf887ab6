// The language service: texts looked up by (module, key) through the host's language function,
// with the built-in Polish text as the fallback.
#pragma once

#include <string>

#include "runtime/api.h"
#include "targodll.h"

class SKALNIX_FRAMEWORK_API TMLgExtTools {
public:
    explicit TMLgExtTools(TargoLanguageFunction function);

    // The host's translation of (module, key); false when the host has none.
    bool Lookup(const char* module, const char* key, std::string& text) const;

private:
    TargoLanguageFunction function_;
};

// The text for (module, key) in the current language: the host's translation when `tools`
// has one, else `defaultUtf8` converted to Windows-1250. `reserved` is not used.
std::string GetString(const TMLgExtTools* tools, const char* module, const char* key,
                      int reserved, const char* defaultUtf8);

// A fixed built-in text that does not pass through the language service, in Windows-1250.
std::string FixedText(const char* utf8);
