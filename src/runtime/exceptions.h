// The runtime's exception classes. Every message is Windows-1250 text.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

class Exception : public std::exception {
public:
    explicit Exception(std::string message);
    const std::string& Message() const { return message_; }
    // Adds where the failure happened, keeping the class of the exception.
    void AppendToMessage(const std::string& text) { message_ += text; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const { return "Exception"; }
    // True when this object's class is `name` or derives from it.
    virtual bool InheritsFrom(std::string_view name) const { return name == "Exception"; }

private:
    std::string message_;
};

#define SKALNIX_EXCEPTION_CLASS(Name, Base)                                                   \
    class Name : public Base {                                                              \
    public:                                                                                 \
        using Base::Base;                                                                   \
        const char* ClassName() const override { return #Name; }                            \
        bool InheritsFrom(std::string_view name) const override {                           \
            return name == #Name || Base::InheritsFrom(name);                               \
        }                                                                                   \
    }

SKALNIX_EXCEPTION_CLASS(EAbort, Exception);        // the user's stop request
SKALNIX_EXCEPTION_CLASS(EConvertError, Exception); // a text that is not a number
SKALNIX_EXCEPTION_CLASS(ERangeError, Exception);   // an index or value out of range
SKALNIX_EXCEPTION_CLASS(EInOutError, Exception);   // a file error

// The runtime package's exception with a list of topics (code, title, description).
class EMException : public Exception {
public:
    struct Topic {
        int code = 0;
        std::string title;
        std::string description;
        int GetCode() const { return code; }
        const std::string& GetTitle() const { return title; }
        const std::string& GetDescription() const { return description; }
    };
    explicit EMException(std::string message, std::vector<Topic> topics = {});
    const char* ClassName() const override { return "EMException"; }
    bool InheritsFrom(std::string_view name) const override {
        return name == "EMException" || Exception::InheritsFrom(name);
    }

    int GetTopicCount() const { return static_cast<int>(topics_.size()); }
    const Topic& GetTopics(int i) const { return topics_.at(static_cast<size_t>(i)); }

    // The package's language number, set by the host (TargoDLLUstawJezykKomponentow).
    static int Language;

private:
    std::vector<Topic> topics_;
};

// Whether the object's class is, or derives from, the class named `className`.
bool IsNameOfObjectParentClass(const Exception* object, const char* className);

// The runtime's standard error texts (Windows-1250).
// A value quoted in an error text: '<text>' with control bytes as '?' (a zero byte would end
// the message before the place a caller appends) and at most 64 bytes of it, then "...", so that
// the line and field a reader appends stay within the host's 300-character line.
std::string QuotedValue(std::string_view text);
[[noreturn]] void ThrowConvertError(std::string_view text);  // <QuotedValue> is not a valid integer value
[[noreturn]] void ThrowRangeError();                         // "Range check error"
