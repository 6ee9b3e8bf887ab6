#include "tools_test_support.h"

#include <cstring>

namespace tools_test {

std::map<std::pair<std::string, std::string>, std::string>& Translations() {
    static std::map<std::pair<std::string, std::string>, std::string> table;
    return table;
}

namespace {
int TARGO_CALL Lookup(char* buffer, int size, const char* module, const char* key) {
    const auto it = Translations().find({module, key});
    if (it == Translations().end() || size <= 0) return 0;
    std::strncpy(buffer, it->second.c_str(), static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
    return 1;
}
}  // namespace

const TMLgExtTools* Language() {
    static const TMLgExtTools language(&Lookup);
    return &language;
}

bool MaskStamp(std::string& text, std::size_t position, const std::string& shape) {
    if (position + shape.size() > text.size()) return false;
    for (std::size_t k = 0; k < shape.size(); ++k) {
        const char c = text[position + k];
        if (shape[k] == '9' ? (c < '0' || c > '9') : c != shape[k]) return false;
    }
    text.replace(position, shape.size(), std::string(shape.size(), '#'));
    return true;
}

}  // namespace tools_test
