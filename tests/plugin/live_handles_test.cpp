// Library handles the driver does not know: null, garbage, a pointer to something else, a
// released one. Every export that takes a handle gives such a handle its failure answer without
// touching memory behind it, and a library released from inside one of its own callbacks lives
// until the call that runs on it has returned.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "plugin/kslibrary.h"
#include "support/driver_params.h"
#include "support/fake_clock.h"
#include "support/test_host.h"
#include "targodll.h"

namespace {

// The clock jumps over the busy-session pause; message boxes are recorded instead of shown.
class QuietEnv : public FakeClock {
public:
    int MessageBox(const std::string& text, const std::string&, unsigned) override {
        boxes.push_back(text);
        return 0;
    }
    std::vector<std::string> boxes;
};

QuietEnv* g_env = nullptr;

int TARGO_CALL IgnoreMessage(int, int, int, const char*) { return 0; }

// One export that takes a handle, called so that its answer shows in a short text.
struct HandleCall {
    const char* name;
    std::string (*call)(HTARGODLLLIB lib);
    const char* failureAnswer;  // what it answers for a handle of no live library
    const char* liveAnswer;     // what a live library answers, where that differs
    bool callsTheHost;          // runs an operation, which calls the host back
};

std::string Filled(char fill) { return std::string(TARGODLL_BUFSIZE, fill); }

// A host buffer holding "sesja" and its terminator, the rest of it `fill`.
std::string Session(char fill) {
    std::string buf = Filled(fill);
    std::memcpy(buf.data(), "sesja", 6);
    return buf;
}

// The first `n` bytes of a buffer, a zero byte shown as '.'.
std::string Shown(const std::string& buf, std::size_t n) {
    std::string shown = buf.substr(0, n);
    for (char& c : shown)
        if (c == '\0') c = '.';
    return shown;
}

const HandleCall kCalls[] = {
    {"TargoDLLWlasciwosciUrzadzenia",
     [](HTARGODLLLIB lib) {
         std::string buf = Filled('Z');
         TargoDLLWlasciwosciUrzadzenia(lib, 1, buf.data(), 1104);
         return Shown(buf, 4);
     },
     ".ZZZ", "-1..", true},
    {"TargoDLLSerKasJakSzukacParagonu",
     [](HTARGODLLLIB lib) {
         return std::to_string(TargoDLLSerKasJakSzukacParagonu(lib, 1, 1, 2, 3));
     },
     "0", nullptr, true},
    {"TargoDLLSerKasPokazOkno",
     [](HTARGODLLLIB lib) {
         std::string buf = Filled('Z');
         int number = 9;
         const int result = TargoDLLSerKasPokazOkno(lib, 1, 0, 1, &number, buf.data());
         return std::to_string(result) + " " + std::to_string(number) + " " + buf.substr(0, 3);
     },
     "0 9 ZZZ", "1 0 Zap", true},
    {"TargoDLLSerKasNazwaZasobuDzielonego",
     [](HTARGODLLLIB lib) {
         std::string buf = Filled('Z');
         TargoDLLSerKasNazwaZasobuDzielonego(lib, 1, buf.data());
         return Shown(buf, 4);
     },
     ".ZZZ", "/dib", true},
    {"TargoDLLSerKasOperacja",
     [](HTARGODLLLIB lib) {
         // A busy session: a live library waits, says so and answers 1.
         std::string buf = Session('Q');
         int session = 5;
         g_env->boxes.clear();
         const int result =
             TargoDLLSerKasOperacja(lib, 1, &session, buf.data(), TARGO_OP_EXPORT, 0);
         std::string answer = std::to_string(result) + " " + Shown(buf, 7);
         for (const auto& box : g_env->boxes) answer += " [" + box + "]";
         return answer;
     },
     "0 sesja.Q [Wyj\xB9tek w TargoDLLSerKasOperacja]", "1 sesja.Q", true},
    {"TargoDLLSerKasPodtrzymajSesje",
     [](HTARGODLLLIB lib) {
         std::string buf = Session('Q');
         int session = 0;
         TargoDLLSerKasPodtrzymajSesje(lib, &session, buf.data(), 0, 1);
         return Shown(buf, 7);
     },
     "sesja.Q", "sesja..", false},
    {"TargoDLLRejestrujCallback",
     [](HTARGODLLLIB lib) {
         TargoDLLRejestrujCallback(lib, reinterpret_cast<void*>(&IgnoreMessage),
                                   TARGO_CB_ADD_MESSAGE);
         TargoDLLRejestrujCallback(lib, nullptr, TARGO_CB_LANGUAGE);
         return std::string();
     },
     "", nullptr, false},
    {"TargoDLLZwolnijBiblioteke",
     [](HTARGODLLLIB lib) {
         TargoDLLZwolnijBiblioteke(lib);
         return std::string();
     },
     "", nullptr, false},
};

TEST(LiveHandles, HandlesOfNoLiveLibraryGetEachExportsFailureAnswer) {
    QuietEnv env;
    g_env = &env;
    // Something on the stack whose address is no library: all zeros, so a call through it
    // would find no table of virtual functions.
    void* stackObject[64] = {};
    // Both registered before either is released, so neither reuses the other's address; the
    // hosts record whatever would still reach them.
    TestHost released, twice;
    TargoDLLZwolnijBiblioteke(released.Handle());
    TargoDLLZwolnijBiblioteke(twice.Handle());
    TargoDLLZwolnijBiblioteke(twice.Handle());

    const struct {
        const char* what;
        HTARGODLLLIB handle;
    } handles[] = {
        {"null", nullptr},
        {"garbage", reinterpret_cast<HTARGODLLLIB>(static_cast<std::uintptr_t>(0x1234))},
        {"stack object", static_cast<HTARGODLLLIB>(stackObject)},
        {"released", released.Handle()},
        {"released twice", twice.Handle()},
    };
    for (const auto& h : handles) {
        for (const auto& c : kCalls) {
            SCOPED_TRACE(std::string(h.what) + " handle, " + c.name);
            EXPECT_EQ(c.call(h.handle), c.failureAnswer);
        }
    }
    EXPECT_TRUE(released.messages.empty());
    EXPECT_TRUE(released.parameterQueries.empty());
    EXPECT_EQ(released.saveCalls + released.breakCalls + twice.saveCalls + twice.breakCalls, 0);
    for (void* word : stackObject) EXPECT_EQ(word, nullptr);
    g_env = nullptr;
}

// The answers above are failures, not what every handle gets: a live library answers otherwise.
TEST(LiveHandles, ALiveLibraryAnswersOtherwise) {
    QuietEnv env;
    g_env = &env;
    TestHost host;
    host.params["DibalKatalogDrv"] = "/dibalcom";
    for (const auto& c : kCalls) {
        if (c.liveAnswer == nullptr) continue;
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.call(host.Handle()), c.liveAnswer);
    }
    g_env = nullptr;
}

// The host releases the library from the first callback of a call: the call still finishes as
// on a live library, the handle is dead from then on, and the object is gone once the call has
// returned (it was the library registered last, so no current library is left).
TEST(LiveHandles, ReleaseFromACallbackTakesEffectWhenTheCallReturns) {
    QuietEnv env;
    g_env = &env;
    for (const auto& c : kCalls) {
        if (!c.callsTheHost) continue;
        SCOPED_TRACE(c.name);
        TestHost host;
        host.params["DibalKatalogDrv"] = "/dibalcom";
        const HTARGODLLLIB lib = host.Handle();
        int releases = 0;
        bool aliveAfterRelease = false;
        host.inCallback = [&] {
            if (releases++ == 0) {
                TargoDLLZwolnijBiblioteke(lib);
                aliveAfterRelease = TKSLibrary::Current() == host.Library();
            }
        };
        EXPECT_EQ(c.call(lib), c.liveAnswer != nullptr ? c.liveAnswer : c.failureAnswer);
        EXPECT_GE(releases, 1);
        EXPECT_TRUE(aliveAfterRelease);
        EXPECT_EQ(TKSLibrary::Current(), nullptr);
        EXPECT_EQ(c.call(lib), c.failureAnswer);
    }
    g_env = nullptr;
}

// A whole export whose host releases the library as the operation starts: the export runs to
// its end on the library it started with, and the host's later release is harmless.
TEST(LiveHandles, ExportRunsToItsEndWhenTheHostReleasesTheLibraryMidway) {
    QuietEnv env;
    TestHost host;
    TempDir exchange, driver;
    host.exchangeDir = exchange.WithSeparator();
    host.params = DefaultDriverParams(driver.Path());
    WriteFile(exchange.File("kasa.exp"),
              "PLU;1;0;5;Towar 1;100;90;80;70;23;1;F;0;F;F;F;;0;0;DOD\r\n");
    int releases = 0;
    host.inCallback = [&] {
        if (releases++ == 0) TargoDLLZwolnijBiblioteke(host.Handle());
    };
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_GT(releases, 3) << "the host was asked on after the release";
    EXPECT_TRUE(host.Errors().empty());
    EXPECT_EQ(host.saveCalls, 1);
    EXPECT_EQ(ReadFile(exchange.File("wynik.exp")), "PLU;1;0;5;DOD\r\n");
    EXPECT_EQ(ReadFile(driver.File("dibal.exp")).substr(0, 13), "00X100M000005");
    EXPECT_EQ(TKSLibrary::Current(), nullptr);

    const int asked = releases;
    EXPECT_EQ(host.Operation(TARGO_OP_EXPORT), 0);
    EXPECT_EQ(releases, asked) << "a released library runs no operation";
}

}  // namespace
