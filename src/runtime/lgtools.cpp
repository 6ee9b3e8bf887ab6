#include "runtime/lgtools.h"

#include <cstring>

#include "runtime/cp1250.h"

namespace {
constexpr int kTextBufferSize = 301;  // 300 characters and the terminator
}

TMLgExtTools::TMLgExtTools(TargoLanguageFunction function) : function_(function) {}

bool TMLgExtTools::Lookup(const char* module, const char* key, std::string& text) const {
    if (function_ == nullptr) return false;
    char buffer[kTextBufferSize] = {};
    const int found = function_(buffer, kTextBufferSize, module ? module : "", key ? key : "");
    buffer[kTextBufferSize - 1] = '\0';  // the host may fill the whole buffer
    if (found == 0) return false;
    text.assign(buffer, std::strlen(buffer));
    return true;
}

std::string GetString(const TMLgExtTools* tools, const char* module, const char* key,
                      int /*reserved*/, const char* defaultUtf8) {
    std::string text;
    if (tools != nullptr && tools->Lookup(module, key, text)) return text;
    return Utf8ToCp1250(defaultUtf8 ? defaultUtf8 : "");
}

std::string FixedText(const char* utf8) { return Utf8ToCp1250(utf8 ? utf8 : ""); }
