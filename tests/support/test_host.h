// An in-process host for tests: loads the driver through its exported functions, registers C
// callbacks, answers parameters, the template list, the break query and the save request per
// test, and records every message the driver posts.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "targodll.h"

class TKSLibrary;

struct HostMessage {
    int kind;          // TARGO_MSG_INFO / WARNING / ERROR
    std::string text;  // Windows-1250 bytes as the driver sent them
    bool replace;      // sent through cbReplaceMessage
    bool operator==(const HostMessage&) const = default;
};
// Readable form in test failures: kind, replace flag, text with the status separator as "|".
void PrintTo(const HostMessage& message, std::ostream* out);

class TestHost {
public:
    // Registers a library with all callbacks (language only after SetTranslation).
    TestHost();
    ~TestHost();
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;

    HTARGODLLLIB Handle() const { return lib_; }
    TKSLibrary* Library() const { return static_cast<TKSLibrary*>(lib_); }
    int Context() const { return context_; }
    // The operation context handed to every object call; callbacks record what they receive.
    int opContext = 4242;
    int seenOpContext = 0;

    // Answers of the callbacks.
    std::map<std::string, std::string> params;  // cbParameterValue, by exact name
    std::vector<std::string> list;               // cbListItem items
    int listCalls = 0;                           // cbListItem calls so far
    std::string exchangeDir;                     // cbOperationInfo
    int hostValue1 = 7, hostValue2 = 8;
    std::string hostText1 = "host1", hostText2 = "host2";
    std::function<bool()> breakQuery = [] { return false; };  // true: stop
    int breakCalls = 0;
    bool saveResult = true;
    int saveCalls = 0;
    std::vector<std::string> parameterQueries;  // names the driver asked for, in order
    std::function<void()> inCallback;           // runs first in every callback of the driver

    // Translations served through the language function (module, key) -> text. The language
    // function is registered by the first call.
    void SetTranslation(const std::string& module, const std::string& key, const std::string& text);
    // Unregisters one callback type (registers a null pointer).
    void Unregister(int type);

    // Messages posted so far.
    std::vector<HostMessage> messages;
    std::vector<std::string> Texts(int kind) const;  // texts of one kind, in order
    std::vector<std::string> Errors() const { return Texts(TARGO_MSG_ERROR); }
    void ClearMessages() { messages.clear(); }

    // Runs TargoDLLSerKasOperacja on this library with a session text buffer.
    int Operation(int code, int flags = 0, int sessionHandle = 0, std::string* sessionText = nullptr);

private:
    friend struct TestHostCallbacks;
    HTARGODLLLIB lib_ = nullptr;
    int context_;
    std::map<std::pair<std::string, std::string>, std::string> translations_;
    bool languageRegistered_ = false;
};

// Windows-1250 form of a UTF-8 literal, for comparing with what the driver sends.
std::string Cp(const char* utf8);

// A fresh temporary directory, removed with its content when the object dies.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }  // without a trailing separator
    std::string File(const std::string& name) const;   // Path() + separator + name
    std::string WithSeparator() const;                 // Path() + separator
private:
    std::string path_;
};

// Whole-file helpers.
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);
