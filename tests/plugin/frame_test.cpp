// The frame of the object exports around an operation that fails: which name the failure
// report carries, what the host gets back, and that nothing escapes.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "driver/live_libraries.h"
#include "plugin/kslibrary.h"
#include "probe_action.h"
#include "runtime/exceptions.h"
#include "support/test_host.h"

namespace {

// How the operation of the scripted library behaves.
enum class Fail { None, Standard, Other };

void Raise(Fail fail) {
    if (fail == Fail::Standard) throw std::runtime_error("boom");
    if (fail == Fail::Other) throw 42;
}

struct ScriptedAction : ProbeAction {
    ScriptedAction(TKSLibrary* library, int opContext, Fail fail)
        : ProbeAction(library, opContext), fail_(fail) {}
    std::string GetSharedResourceName() override { return Raise(fail_), "res"; }
    bool HowToFindReceipt(int, int, int) override { return Raise(fail_), true; }
    std::string DeviceProperty(int) override { return Raise(fail_), " prop "; }
    void Operation(HTARGODLLSRODOWISKO& env, int, int) override {
        env.ResultCode = 5;
        std::strcpy(env.SessionText, "changed");
        Raise(fail_);
    }
    Fail fail_;
};

// A library on the test host's callbacks whose operations follow `fail`.
struct ScriptedLibrary : TKSLibrary {
    explicit ScriptedLibrary(const TestHost& host) : TKSLibrary(host.Context()) {
        for (int type : {TARGO_CB_OPERATION_INFO, TARGO_CB_ADD_MESSAGE, TARGO_CB_REPLACE_MESSAGE})
            RegisterCallback(host.Library()->Callback(type), type);
    }
    TKSActionBase* CreateOperation(int opContext) override {
        if (failCreate) throw std::runtime_error("no operation");
        return new ScriptedAction(this, opContext, fail);
    }
    int ShowWindow(TKSActionBase*, int, char*, int*, bool) override { return Raise(fail), 3; }
    Fail fail = Fail::None;
    bool failCreate = false;
};

// A ScriptedLibrary the driver knows as a live handle, as if the host had registered it;
// released with the object.
class LiveScripted {
public:
    explicit LiveScripted(const TestHost& host) : library(*new ScriptedLibrary(host)) {
        live_libraries::Add(&library);
    }
    ~LiveScripted() { TargoDLLZwolnijBiblioteke(&library); }
    LiveScripted(const LiveScripted&) = delete;
    LiveScripted& operator=(const LiveScripted&) = delete;
    ScriptedLibrary& library;
};

std::string Head(const char* name) {
    return Cp("Podczas wykonywania operacji '") + Cp(name) + Cp("' wystąpił błąd:");
}
std::string Unknown(const char* name) {
    return Cp("Podczas wykonywania operacji '") + Cp(name) + Cp("' wystąpił nierozpoznawalny błąd");
}

TEST(ObjectFrame, SuccessfulCallsPassTheirAnswers) {
    TestHost host;
    LiveScripted live(host);
    ScriptedLibrary& lib = live.library;
    char buf[TARGODLL_BUFSIZE];
    TargoDLLWlasciwosciUrzadzenia(&lib, 1, buf, 0);
    EXPECT_STREQ(buf, "prop");
    EXPECT_EQ(TargoDLLSerKasJakSzukacParagonu(&lib, 1, 0, 0, 0), 1);
    EXPECT_EQ(TargoDLLSerKasPokazOkno(&lib, 1, 0, 0, nullptr, buf), 3);
    TargoDLLSerKasNazwaZasobuDzielonego(&lib, 1, buf);
    EXPECT_STREQ(buf, "res");
    std::strcpy(buf, "s");
    int handle = 0;
    EXPECT_EQ(TargoDLLSerKasOperacja(&lib, 1, &handle, buf, TARGO_OP_EXPORT, 0), 5);
    EXPECT_STREQ(buf, "changed");
    EXPECT_TRUE(host.messages.empty());
}

TEST(ObjectFrame, FailuresAreReportedUnderTheCallsName) {
    const struct {
        Fail fail;
        std::vector<std::string> properties, receipt, window, resource, operation;
    } cases[] = {
        {Fail::Standard,
         {Head("właściwości urządzenia"), "boom"},
         {Head("jak szukać paragonu"), "boom"},
         {Head("wyświetlanie okna"), "boom"},
         {Head("identyfikacja zasobu dzielonego"), "boom"},
         {Head("eksport"), "boom"}},
        {Fail::Other,
         {Unknown("właściwości urządzenia")},
         {Unknown("jak szukać paragonua")},
         {Unknown("wyświetlanie okna")},
         {Unknown("identyfikacja zasobu dzielonego")},
         {Unknown("eksport")}},
    };
    for (const auto& c : cases) {
        TestHost host;
        LiveScripted live(host);
    ScriptedLibrary& lib = live.library;
        lib.fail = c.fail;
        char buf[TARGODLL_BUFSIZE];
        std::memset(buf, 'Z', sizeof buf);
        TargoDLLWlasciwosciUrzadzenia(&lib, 1, buf, 0);
        EXPECT_STREQ(buf, "");
        EXPECT_EQ(host.Errors(), c.properties);

        host.ClearMessages();
        EXPECT_EQ(TargoDLLSerKasJakSzukacParagonu(&lib, 1, 0, 0, 0), 0);
        EXPECT_EQ(host.Errors(), c.receipt);

        host.ClearMessages();
        int number = 8;
        EXPECT_EQ(TargoDLLSerKasPokazOkno(&lib, 1, 0, 0, &number, buf), 0);
        EXPECT_EQ(host.Errors(), c.window);

        host.ClearMessages();
        std::memset(buf, 'Z', sizeof buf);
        TargoDLLSerKasNazwaZasobuDzielonego(&lib, 1, buf);
        EXPECT_STREQ(buf, "");
        EXPECT_EQ(host.Errors(), c.resource);

        // A failed operation returns 0 but its session text still comes back.
        host.ClearMessages();
        std::strcpy(buf, "s");
        int handle = 0;
        EXPECT_EQ(TargoDLLSerKasOperacja(&lib, 1, &handle, buf, TARGO_OP_EXPORT, 0), 0);
        EXPECT_STREQ(buf, "changed");
        EXPECT_EQ(host.Errors(), c.operation);
    }
}

TEST(ObjectFrame, OperationThatCannotBeCreatedLeavesTheHostUntouched) {
    TestHost host;
    LiveScripted live(host);
    ScriptedLibrary& lib = live.library;
    lib.failCreate = true;
    char buf[TARGODLL_BUFSIZE] = "keep";
    int handle = 0;
    EXPECT_EQ(TargoDLLSerKasOperacja(&lib, 1, &handle, buf, TARGO_OP_EXPORT, 0), 0);
    EXPECT_STREQ(buf, "keep");
    TargoDLLWlasciwosciUrzadzenia(&lib, 1, buf, 0);
    EXPECT_STREQ(buf, "") << "the first byte is cleared";
    EXPECT_EQ(TargoDLLSerKasJakSzukacParagonu(&lib, 1, 0, 0, 0), 0);
    EXPECT_EQ(TargoDLLSerKasPokazOkno(&lib, 1, 0, 0, nullptr, buf), 0);
    std::strcpy(buf, "old");
    TargoDLLSerKasNazwaZasobuDzielonego(&lib, 1, buf);
    EXPECT_STREQ(buf, "");
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
