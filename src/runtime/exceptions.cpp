#include "runtime/exceptions.h"

#include <utility>

Exception::Exception(std::string message) : message_(std::move(message)) {}

EMException::EMException(std::string message, std::vector<Topic> topics)
    : Exception(std::move(message)), topics_(std::move(topics)) {}

int EMException::Language = 0;

bool IsNameOfObjectParentClass(const Exception* object, const char* className) {
    if (object == nullptr || className == nullptr) return false;
    return object->InheritsFrom(className);
}

std::string QuotedValue(std::string_view text) {
    constexpr std::size_t kShown = 64;
    std::string quoted = "'";
    quoted.append(text.substr(0, kShown));
    for (std::size_t i = 1; i < quoted.size(); ++i)
        if (static_cast<unsigned char>(quoted[i]) < 32) quoted[i] = '?';
    if (text.size() > kShown) quoted += "...";
    return quoted + "'";
}

void ThrowConvertError(std::string_view text) {
    std::string message = QuotedValue(text);
    message += " is not a valid integer value";
    throw EConvertError(std::move(message));
}

void ThrowRangeError() { throw ERangeError("Range check error"); }
