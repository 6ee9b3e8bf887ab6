// A host for whole-process tests: loads the built driver with dlopen, calls only its exported
// functions and answers its callbacks; plus a scratch directory with the DibalCom stand-in.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "targodll.h"

class DriverHost {
public:
    explicit DriverHost(const std::string& libraryPath = SKALNIX_DRIVER_PATH);
    ~DriverHost();
    DriverHost(const DriverHost&) = delete;
    DriverHost& operator=(const DriverHost&) = delete;

    // TargoDLLSerKasOperacja with a zero session handle.
    int Operation(int code, int flags = 0);

    struct Message {
        int kind;
        std::string text;
    };
    std::vector<Message> messages;
    std::vector<std::string> Errors() const;

    std::map<std::string, std::string> params;
    std::string exchangeDir;
    std::function<bool()> breakQuery = [] { return false; };
    bool saveResult = true;

private:
    struct Callbacks;
    void* module_ = nullptr;
    HTARGODLLLIB library_ = nullptr;
    int context_;
    decltype(&TargoDLLSerKasOperacja) operation_ = nullptr;
    decltype(&TargoDLLZwolnijBiblioteke) release_ = nullptr;
};

// A scratch directory with an exchange directory and a DibalCom directory, removed at the end.
class Workspace {
public:
    Workspace();
    ~Workspace();
    std::filesystem::path Exchange() const { return root_ / "exchange"; }
    std::filesystem::path Driver() const { return root_ / "dibalcom"; }
    // Copies the stand-in into the DibalCom directory with its test controls.
    void InstallStandIn(const std::string& controls) const;
    // Waits (bounded) until the stand-in's log has a line equal to `line`.
    bool WaitForLogLine(const std::string& line, int timeoutMs) const;
    // The commands the stand-in logged, in order.
    std::vector<std::string> Commands() const;

private:
    std::filesystem::path root_;
};

std::string ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::string& data);
// Windows-1250 form of a UTF-8 text of Polish letters (the driver's texts).
std::string Cp1250(const std::string& utf8);
// The driver's parameters at their defaults, with the DibalCom directory given.
std::map<std::string, std::string> DefaultParams(const std::filesystem::path& driverDir);
