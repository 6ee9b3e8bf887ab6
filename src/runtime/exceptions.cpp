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

void ThrowConvertError(std::string_view text) {
    std::string message = "'";
    message.append(text);
    message += "' is not a valid integer value";
    throw EConvertError(std::move(message));
}

void ThrowRangeError() { throw ERangeError("Range check error"); }
