// The in-process test host: registers a library through the real exported functions and
// answers the driver's callbacks from the fields of the TestHost the host context names.
#include "test_host.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace {

// Host context -> live TestHost; callbacks find their host through it.
std::map<int, TestHost*>& Registry() {
    static std::map<int, TestHost*> registry;
    return registry;
}
int g_nextContext = 1000;
// The host whose translations the language function serves (it has no context argument).
TestHost* g_languageHost = nullptr;

TestHost* Find(int hostContext) {
    auto it = Registry().find(hostContext);
    return it == Registry().end() ? nullptr : it->second;
}

// Writes `text` into a host buffer of `size` bytes the way a plain host does: the text and a
// terminator when it fits; a text of `size` bytes or more fills the buffer without one, so the
// driver's own bound is what ends it.
void Fill(char* buf, int size, const std::string& text) {
    const std::size_t n = std::min(text.size(), static_cast<std::size_t>(size));
    std::memcpy(buf, text.data(), n);
    if (n < static_cast<std::size_t>(size)) buf[n] = '\0';
}

}  // namespace

struct TestHostCallbacks {
    // The host of a callback, after its inCallback hook has run.
    static TestHost* Enter(int hostContext) {
        TestHost* h = Find(hostContext);
        if (h != nullptr && h->inCallback) h->inCallback();
        return h;
    }
    static int TARGO_CALL Break(int host, int op) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 1;
        h->seenOpContext = op;
        ++h->breakCalls;
        return h->breakQuery() ? 1 : 0;
    }
    static int TARGO_CALL Parameter(int host, int op, const char* name, char* value) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 0;
        h->seenOpContext = op;
        h->parameterQueries.push_back(name);
        auto it = h->params.find(name);
        if (it != h->params.end()) Fill(value, TARGODLL_BUFSIZE, it->second);
        return 0;
    }
    static int TARGO_CALL OperationInfo(int host, int op, int* value1, int* value2, char* text1,
                                        char* text2, char* exchangeDir) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 0;
        h->seenOpContext = op;
        *value1 = h->hostValue1;
        *value2 = h->hostValue2;
        Fill(text1, TARGODLL_BUFSIZE, h->hostText1);
        Fill(text2, TARGODLL_BUFSIZE, h->hostText2);
        Fill(exchangeDir, TARGODLL_DIRSIZE, h->exchangeDir);
        return 0;
    }
    static int TARGO_CALL Add(int host, int op, int kind, const char* text) {
        return Post(host, op, kind, text, false);
    }
    static int TARGO_CALL Replace(int host, int op, int kind, const char* text) {
        return Post(host, op, kind, text, true);
    }
    static int Post(int host, int op, int kind, const char* text, bool replace) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 0;
        h->seenOpContext = op;
        h->messages.push_back({kind, text, replace});
        return 0;
    }
    static int TARGO_CALL ListItem(int host, int op, int index, char* item) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 0;
        h->seenOpContext = op;
        ++h->listCalls;
        if (index < 0 || static_cast<std::size_t>(index) >= h->list.size()) return 0;
        Fill(item, TARGODLL_BUFSIZE, h->list[static_cast<std::size_t>(index)]);
        return 1;
    }
    static int TARGO_CALL Save(int host, int op) {
        TestHost* h = Enter(host);
        if (h == nullptr) return 0;
        h->seenOpContext = op;
        ++h->saveCalls;
        return h->saveResult ? 1 : 0;
    }
    static int TARGO_CALL Language(char* buffer, int size, const char* module, const char* key) {
        if (g_languageHost == nullptr || buffer == nullptr || size <= 0) return 0;
        auto it = g_languageHost->translations_.find({module, key});
        if (it == g_languageHost->translations_.end()) return 0;
        const std::size_t n = std::min(it->second.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, it->second.data(), n);
        buffer[n] = '\0';
        return 1;
    }
};

TestHost::TestHost() : context_(g_nextContext++) {
    Registry()[context_] = this;
    lib_ = TargoDLLRejestrujBiblioteke(context_, 0, 0, nullptr);
    if (lib_ == nullptr) throw std::runtime_error("the driver registered no library");
    const std::pair<void*, int> callbacks[] = {
        {reinterpret_cast<void*>(&TestHostCallbacks::Break), TARGO_CB_BREAK_QUERY},
        {reinterpret_cast<void*>(&TestHostCallbacks::Parameter), TARGO_CB_PARAMETER},
        {reinterpret_cast<void*>(&TestHostCallbacks::OperationInfo), TARGO_CB_OPERATION_INFO},
        {reinterpret_cast<void*>(&TestHostCallbacks::Add), TARGO_CB_ADD_MESSAGE},
        {reinterpret_cast<void*>(&TestHostCallbacks::Replace), TARGO_CB_REPLACE_MESSAGE},
        {reinterpret_cast<void*>(&TestHostCallbacks::ListItem), TARGO_CB_LIST_ITEM},
        {reinterpret_cast<void*>(&TestHostCallbacks::Save), TARGO_CB_SAVE_RESULT},
    };
    for (const auto& [function, type] : callbacks) TargoDLLRejestrujCallback(lib_, function, type);
}

TestHost::~TestHost() {
    TargoDLLZwolnijBiblioteke(lib_);
    Registry().erase(context_);
    if (g_languageHost == this) g_languageHost = nullptr;
}

void TestHost::SetTranslation(const std::string& module, const std::string& key,
                              const std::string& text) {
    translations_[{module, key}] = text;
    g_languageHost = this;
    if (!languageRegistered_) {
        TargoDLLRejestrujCallback(lib_, reinterpret_cast<void*>(&TestHostCallbacks::Language),
                                  TARGO_CB_LANGUAGE);
        languageRegistered_ = true;
    }
}

void TestHost::Unregister(int type) {
    TargoDLLRejestrujCallback(lib_, nullptr, type);
    if (type == TARGO_CB_LANGUAGE) languageRegistered_ = false;
}

std::vector<std::string> TestHost::Texts(int kind) const {
    std::vector<std::string> texts;
    for (const HostMessage& m : messages)
        if (m.kind == kind) texts.push_back(m.text);
    return texts;
}

int TestHost::Operation(int code, int flags, int sessionHandle, std::string* sessionText) {
    char buf[TARGODLL_BUFSIZE] = {};
    if (sessionText != nullptr) Fill(buf, TARGODLL_BUFSIZE - 1, *sessionText);
    int handle = sessionHandle;
    const int result = TargoDLLSerKasOperacja(lib_, opContext, &handle, buf, code, flags);
    if (sessionText != nullptr) *sessionText = std::string(buf, ::strnlen(buf, TARGODLL_BUFSIZE));
    return result;
}

void PrintTo(const HostMessage& message, std::ostream* out) {
    std::string text = message.text;
    std::replace(text.begin(), text.end(), TARGO_STATUS_SEPARATOR, '|');
    *out << "{" << message.kind << (message.replace ? ", replace, \"" : ", add, \"") << text
         << "\"}";
}

std::string Cp(const char* utf8) {
    // Windows-1250 bytes 0x80..0xFF by Unicode code point (0: no character).
    static const char16_t kHigh[128] = {
        0x20ac, 0,      0x201a, 0,      0x201e, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x160,
        0x2039, 0x15a,  0x164,  0x17d,  0x179,  0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0,      0x2122, 0x161,  0x203a, 0x15b,  0x165,  0x17e,  0x17a,  0xa0,
        0x2c7,  0x2d8,  0x141,  0xa4,   0x104,  0xa6,   0xa7,   0xa8,   0xa9,   0x15e,  0xab,
        0xac,   0xad,   0xae,   0x17b,  0xb0,   0xb1,   0x2db,  0x142,  0xb4,   0xb5,   0xb6,
        0xb7,   0xb8,   0x105,  0x15f,  0xbb,   0x13d,  0x2dd,  0x13e,  0x17c,  0x154,  0xc1,
        0xc2,   0x102,  0xc4,   0x139,  0x106,  0xc7,   0x10c,  0xc9,   0x118,  0xcb,   0x11a,
        0xcd,   0xce,   0x10e,  0x110,  0x143,  0x147,  0xd3,   0xd4,   0x150,  0xd6,   0xd7,
        0x158,  0x16e,  0xda,   0x170,  0xdc,   0xdd,   0x162,  0xdf,   0x155,  0xe1,   0xe2,
        0x103,  0xe4,   0x13a,  0x107,  0xe7,   0x10d,  0xe9,   0x119,  0xeb,   0x11b,  0xed,
        0xee,   0x10f,  0x111,  0x144,  0x148,  0xf3,   0xf4,   0x151,  0xf6,   0xf7,   0x159,
        0x16f,  0xfa,   0x171,  0xfc,   0xfd,   0x163,  0x2d9};
    std::string out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0) {
        char32_t cp = *p;
        int extra = cp < 0x80 ? 0 : cp < 0xE0 ? 1 : cp < 0xF0 ? 2 : 3;
        if (extra > 0) cp &= 0x3F >> extra;
        ++p;
        for (; extra > 0 && (*p & 0xC0) == 0x80; --extra, ++p) cp = (cp << 6) | (*p & 0x3F);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto* hit = std::find(std::begin(kHigh), std::end(kHigh), static_cast<char16_t>(cp));
        if (cp > 0xFFFF || hit == std::end(kHigh))
            throw std::invalid_argument(std::string("no Windows-1250 form in: ") + utf8);
        out += static_cast<char>(0x80 + (hit - std::begin(kHigh)));
    }
    return out;
}

TempDir::TempDir() {
    namespace fs = std::filesystem;
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("skalnix-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("no temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const { return WithSeparator() + name; }

std::string TempDir::WithSeparator() const {
    return path_ + static_cast<char>(std::filesystem::path::preferred_separator);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream data;
    data << in.rdbuf();
    return data.str();
}

void WriteFile(const std::string& path, const std::string& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}
