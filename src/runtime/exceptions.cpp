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

namespace {

// The value as an error shows it: a control byte as '?' (a zero byte would end the message
// before the place it names) and a long value cut after 64 bytes, so that what is appended
// after the text - the line and field of a file - stays within the host's 300-character line.
std::string ShownValue(std::string_view text) {
    constexpr std::size_t kShown = 64;
    std::string shown(text.substr(0, kShown));
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 32) c = '?';
    if (text.size() > kShown) shown += "...";
    return shown;
}

}  // namespace

void ThrowConvertError(std::string_view text) {
    std::string message = "'";
    message += ShownValue(text);
    message += "' is not a valid integer value";
    throw EConvertError(std::move(message));
}

void ThrowRangeError() { throw ERangeError("Range check error"); }
