// The whole-process test host and scratch directory.
#include "driver_host.h"

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "support/driver_params.h"

namespace fs = std::filesystem;

namespace {

std::map<int, DriverHost*>& Hosts() {
    static std::map<int, DriverHost*> hosts;
    return hosts;
}

void CopyOut(char* buffer, std::size_t size, const std::string& text) {
    std::strncpy(buffer, text.c_str(), size - 1);
    buffer[size - 1] = '\0';
}

template <typename Function>
Function Symbol(void* module, const char* name) {
    void* address = ::dlsym(module, name);
    if (address == nullptr)
        throw std::runtime_error(std::string("driver lacks ") + name);
    return reinterpret_cast<Function>(address);
}

}  // namespace

struct DriverHost::Callbacks {
    static DriverHost& Of(int context) { return *Hosts().at(context); }

    static int BreakQuery(int context, int) { return Of(context).breakQuery() ? 1 : 0; }
    static int Parameter(int context, int, const char* name, char* value) {
        const auto& params = Of(context).params;
        const auto found = params.find(name);
        CopyOut(value, TARGODLL_BUFSIZE, found == params.end() ? "" : found->second);
        return 1;
    }
    static int OperationInfo(int context, int, int* value1, int* value2, char* text1,
                             char* text2, char* exchangeDir) {
        *value1 = 1;
        *value2 = 2;
        CopyOut(text1, TARGODLL_BUFSIZE, "");
        CopyOut(text2, TARGODLL_BUFSIZE, "");
        CopyOut(exchangeDir, TARGODLL_DIRSIZE, Of(context).exchangeDir);
        return 1;
    }
    static int AddMessage(int context, int, int kind, const char* text) {
        Of(context).messages.push_back({kind, text});
        return 1;
    }
    static int ReplaceMessage(int context, int, int kind, const char* text) {
        // Only the last state of a progress line matters here.
        auto& messages = Of(context).messages;
        if (!messages.empty())
            messages.back() = {kind, text};
        return 1;
    }
    static int ListItem(int, int, int, char*) { return 0; }
    static int SaveResult(int context, int) { return Of(context).saveResult ? 1 : 0; }
};

DriverHost::DriverHost(const std::string& libraryPath) {
    static int nextContext = 100;
    context_ = nextContext++;
    module_ = ::dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module_ == nullptr)
        throw std::runtime_error(std::string("cannot load the driver: ") + ::dlerror());
    auto registerLibrary = Symbol<decltype(&TargoDLLRejestrujBiblioteke)>(
        module_, "TargoDLLRejestrujBiblioteke");
    auto registerCallback = Symbol<decltype(&TargoDLLRejestrujCallback)>(
        module_, "TargoDLLRejestrujCallback");
    operation_ = Symbol<decltype(&TargoDLLSerKasOperacja)>(module_, "TargoDLLSerKasOperacja");
    release_ = Symbol<decltype(&TargoDLLZwolnijBiblioteke)>(module_, "TargoDLLZwolnijBiblioteke");
    Hosts()[context_] = this;
    library_ = registerLibrary(context_, 0, 0, nullptr);
    if (library_ == nullptr)
        throw std::runtime_error("the driver created no library");
    const std::pair<void*, int> callbacks[] = {
        {reinterpret_cast<void*>(&Callbacks::BreakQuery), TARGO_CB_BREAK_QUERY},
        {reinterpret_cast<void*>(&Callbacks::Parameter), TARGO_CB_PARAMETER},
        {reinterpret_cast<void*>(&Callbacks::OperationInfo), TARGO_CB_OPERATION_INFO},
        {reinterpret_cast<void*>(&Callbacks::AddMessage), TARGO_CB_ADD_MESSAGE},
        {reinterpret_cast<void*>(&Callbacks::ReplaceMessage), TARGO_CB_REPLACE_MESSAGE},
        {reinterpret_cast<void*>(&Callbacks::ListItem), TARGO_CB_LIST_ITEM},
        {reinterpret_cast<void*>(&Callbacks::SaveResult), TARGO_CB_SAVE_RESULT},
    };
    for (const auto& [function, type] : callbacks)
        registerCallback(library_, function, type);
}

DriverHost::~DriverHost() {
    if (library_ != nullptr)
        release_(library_);
    Hosts().erase(context_);
    if (module_ != nullptr)
        ::dlclose(module_);
}

int DriverHost::Operation(int code, int flags) {
    int session = 0;
    char text[TARGODLL_BUFSIZE] = "";
    return operation_(library_, 1, &session, text, code, flags);
}

std::vector<std::string> DriverHost::Errors() const {
    std::vector<std::string> errors;
    for (const Message& m : messages)
        if (m.kind == TARGO_MSG_ERROR)
            errors.push_back(m.text);
    return errors;
}

Workspace::Workspace() {
    std::string pattern = (fs::temp_directory_path() / "skalnix-e2e-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch directory");
    root_ = pattern;
    fs::create_directories(Exchange());
    fs::create_directories(Driver());
}

Workspace::~Workspace() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void Workspace::InstallStandIn(const std::string& controls) const {
    fs::copy_file(SKALNIX_STANDIN_PATH, Driver() / "dibalcom.exe",
                  fs::copy_options::overwrite_existing);
    WriteAll(Driver() / "dibalcom.test", controls);
}

bool Workspace::WaitForLogLine(const std::string& line, int timeoutMs) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        std::istringstream log(ReadAll(Driver() / "dibalcom.log"));
        for (std::string logged; std::getline(log, logged);)
            if (logged == line)
                return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

std::vector<std::string> Workspace::Commands() const {
    std::vector<std::string> commands;
    std::istringstream log(ReadAll(Driver() / "dibalcom.log"));
    for (std::string line; std::getline(log, line);)
        if (line.rfind("command ", 0) == 0)
            commands.push_back(line.substr(8));
    return commands;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

void WriteAll(const fs::path& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

std::string Cp1250(const std::string& utf8) {
    static const std::map<std::string, char> letters = {
        {"Ą", '\xA5'}, {"Ć", '\xC6'}, {"Ę", '\xCA'}, {"Ł", '\xA3'}, {"Ń", '\xD1'}, {"Ó", '\xD3'},
        {"Ś", '\x8C'}, {"Ż", '\xAF'}, {"Ź", '\x8F'}, {"ą", '\xB9'}, {"ć", '\xE6'}, {"ę", '\xEA'},
        {"ł", '\xB3'}, {"ń", '\xF1'}, {"ó", '\xF3'}, {"ś", '\x9C'}, {"ż", '\xBF'}, {"ź", '\x9F'},
    };
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        const auto found = letters.find(utf8.substr(i, 2));
        if (found == letters.end())
            throw std::runtime_error("no Windows-1250 form for " + utf8);
        out += found->second;
        i += 2;
    }
    return out;
}

std::map<std::string, std::string> DefaultParams(const fs::path& driverDir) {
    return DefaultDriverParams(driverDir.string());
}
