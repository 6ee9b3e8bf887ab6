// The library's callback table and the operation's six ways of calling the host back, with
// and without the host's functions registered.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/kslibrary.h"
#include "probe_action.h"
#include "runtime/exceptions.h"
#include "targodll.h"
#include "support/test_host.h"

namespace {

constexpr int kAccepted[] = {5, 6, 11, 12, 13, 14, 15, 32, 16, 17, 18,
                             19, 20, 21, 22, 23, 24, 25, 28, 31, 33};

// A library with no callbacks, released at the end of the scope.
struct BareLibrary {
    HTARGODLLLIB handle = TargoDLLRejestrujBiblioteke(77, 0, 0, nullptr);
    ~BareLibrary() { TargoDLLZwolnijBiblioteke(handle); }
    TKSLibrary* get() const { return static_cast<TKSLibrary*>(handle); }
};

void* Fake(int n) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1000 + n)); }

TEST(CallbackTable, EachAcceptedTypeHasItsOwnSlotAndOthersAreIgnored) {
    BareLibrary lib;
    for (int type : {0, 1, 4, 7, 10, 26, 27, 29, 30, 34 + 1, -5, 1000})
        TargoDLLRejestrujCallback(lib.handle, Fake(type), type);
    for (int type : kAccepted) EXPECT_EQ(lib.get()->Callback(type), nullptr) << type;
    for (int type : {0, 7, 10, 26, 35}) EXPECT_EQ(lib.get()->Callback(type), nullptr) << type;

    for (int type : kAccepted) TargoDLLRejestrujCallback(lib.handle, Fake(type), type);
    for (int type : kAccepted) EXPECT_EQ(lib.get()->Callback(type), Fake(type)) << type;

    TargoDLLRejestrujCallback(lib.handle, Fake(99), 16);
    EXPECT_EQ(lib.get()->Callback(16), Fake(99)) << "registering again replaces";
    EXPECT_EQ(lib.get()->Callback(5), Fake(5));
    EXPECT_EQ(lib.get()->LgTools(), nullptr);
}

int TARGO_CALL LanguageA(char* buffer, int size, const char*, const char*) {
    std::strncpy(buffer, "A", static_cast<std::size_t>(size));
    return 1;
}
int TARGO_CALL LanguageB(char* buffer, int size, const char*, const char*) {
    std::strncpy(buffer, "B", static_cast<std::size_t>(size));
    return 1;
}

std::string WindowName() {
    char buf[TARGODLL_BUFSIZE];
    TargoDLLSerKasOpisOkna(buf, 0);
    return buf;
}

TEST(CallbackTable, LanguageFunctionRebuildsTheService) {
    BareLibrary lib;
    EXPECT_EQ(WindowName(), Cp("Zapisz konfigurację DibalCom"));
    TargoDLLRejestrujCallback(lib.handle, reinterpret_cast<void*>(&LanguageA), 34);
    EXPECT_EQ(WindowName(), "A");
    TargoDLLRejestrujCallback(lib.handle, reinterpret_cast<void*>(&LanguageB), 34);
    EXPECT_EQ(WindowName(), "B") << "the second function replaces the first";
    EXPECT_NE(lib.get()->LgTools(), nullptr);
    TargoDLLRejestrujCallback(lib.handle, nullptr, 34);
    EXPECT_EQ(lib.get()->LgTools(), nullptr);
    EXPECT_EQ(WindowName(), Cp("Zapisz konfigurację DibalCom"));
}

TEST(CurrentLibrary, IsTheLastRegisteredUntilItIsReleased) {
    EXPECT_EQ(TKSLibrary::Current(), nullptr);
    auto first = std::make_unique<BareLibrary>();
    EXPECT_EQ(TKSLibrary::Current(), first->get());
    {
        BareLibrary second;
        EXPECT_EQ(TKSLibrary::Current(), second.get());
        TargoDLLRejestrujCallback(first->handle, reinterpret_cast<void*>(&LanguageA), 34);
        EXPECT_EQ(WindowName(), Cp("Zapisz konfigurację DibalCom"))
            << "driver texts follow the current library only";
    }
    EXPECT_EQ(TKSLibrary::Current(), nullptr);
    auto third = std::make_unique<BareLibrary>();
    first.reset();
    EXPECT_EQ(TKSLibrary::Current(), third->get()) << "releasing another library keeps it";
}

TEST(SessionCheck, OnlyAFreeSessionPasses) {
    TestHost host;
    EXPECT_NO_THROW(host.Library()->VerifySessionType(0, "s"));
    try {
        host.Library()->VerifySessionType(-1, "s");
        ADD_FAILURE() << "a busy session must raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Niezgodny typ sesji w sterowniku");
    }
    host.SetTranslation("kstools_KSLib", "TKSLibraWeryfikuExceptio", "Session type mismatch");
    EXPECT_THROW(
        {
            try {
                host.Library()->VerifySessionType(1, "s");
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), "Session type mismatch");
                throw;
            }
        },
        Exception);
}

// ---- The operation's callbacks ----

TEST(OperationBase, VirtualDefaults) {
    BareLibrary lib;
    ProbeAction op(lib.get(), 5);
    const std::pair<int, const char*> properties[] = {{1101, "0"}, {1103, "0"}, {1102, ""},
                                                      {1104, ""},  {0, ""}};
    for (const auto& [number, text] : properties) EXPECT_EQ(op.DeviceProperty(number), text);
    EXPECT_FALSE(op.HowToFindReceipt(1, 2, 3));
    EXPECT_EQ(op.Unnamed(), 10);
    HTARGODLLSRODOWISKO env{nullptr, nullptr, 0};
    try {
        op.Operation(env, TARGO_OP_EXPORT, 0);
        ADD_FAILURE() << "the base runs no operation";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Cp("Urządzenie nie obsługuje zleconego typu operacji"));
    }
}

TEST(OperationCallbacks, WithoutFunctionsEveryFormHasItsAnswer) {
    BareLibrary lib;
    ProbeAction op(lib.get(), 5);
    EXPECT_EQ(op.HostValue1, -1);
    EXPECT_EQ(op.HostValue2, 0);
    EXPECT_EQ(op.HostText1 + op.HostText2 + op.ExchangeDir, "");
    EXPECT_TRUE(op.BreakRequested()) << "no break query means stop";
    EXPECT_THROW(op.CheckBreak(), EAbort);
    EXPECT_EQ(op.ParamAsString("DibalPort"), "");
    EXPECT_EQ(op.ParamAsInt("DibalPort"), 0);
    EXPECT_TRUE(op.HostList().empty());
    op.Message(msgInfo, "  text ");
    EXPECT_EQ(op.LastMessage, "  text ");
    EXPECT_EQ(op.ReplaceMessage(msgInfo, "new"), "  text ");
    try {
        op.SaveResultToDatabase();
        ADD_FAILURE() << "an unconfirmed save must raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), Cp("Błąd zapisu wyniku eksportu do bazy danych"));
    }
}

TEST(OperationCallbacks, OperationInfoFillsTheFieldsWithBoundedTexts) {
    TestHost host;
    host.hostValue1 = 11;
    host.hostValue2 = -12;
    host.hostText1 = std::string(350, 'a');  // no terminator reaches the driver
    host.hostText2 = "b";
    host.exchangeDir = std::string(270, 'd');
    auto op = MakeProbe(host);
    EXPECT_EQ(op->HostValue1, 11);
    EXPECT_EQ(op->HostValue2, -12);
    EXPECT_EQ(op->HostText1, std::string(300, 'a'));
    EXPECT_EQ(op->HostText2, "b");
    EXPECT_EQ(op->ExchangeDir, std::string(260, 'd'));
    EXPECT_EQ(host.seenOpContext, host.opContext);
}

TEST(OperationCallbacks, ParameterNameGoesTrimmedAndTheValueComesBackBounded) {
    TestHost host;
    host.params["DibalPort"] = " 3 ";
    host.params["Long"] = std::string(301, 'v');
    auto op = MakeProbe(host);
    EXPECT_EQ(op->ParamAsString("  DibalPort\t"), " 3 ");
    EXPECT_THROW(op->ParamAsString("Long"), Exception);
    EXPECT_EQ(op->ParamAsString("Missing"), "");
    EXPECT_EQ(host.parameterQueries, (std::vector<std::string>{"DibalPort", "Long", "Missing"}));
}

// A value that fills the host's buffer to its last character may have been cut: an error that
// names the parameter, never the first 300 characters taken for the whole value.
TEST(OperationCallbacks, ValueFillingTheWholeBufferIsAnErrorNamingTheParameter) {
    const std::string tooLong =
        Cp("Wartość parametru jest za długa (300 znaków lub więcej), mogła zostać obcięta: ");
    const struct {
        std::size_t length;
        bool refused;
    } cases[] = {{0, false}, {1, false}, {299, false}, {300, true}, {301, true}, {1000, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        TestHost host;
        host.params["DibalKatalogDrv"] = std::string(c.length, 'd');
        auto op = MakeProbe(host);
        if (!c.refused) {
            EXPECT_EQ(op->ParamAsString(" DibalKatalogDrv "), std::string(c.length, 'd'));
            continue;
        }
        try {
            op->ParamAsString(" DibalKatalogDrv ");
            ADD_FAILURE() << "a value of " << c.length << " characters was taken";
        } catch (const Exception& e) {
            EXPECT_EQ(e.what(), tooLong + "DibalKatalogDrv");
        }
    }
    TestHost host;
    host.SetTranslation("kstools_KSLib", "TKSActioParamAsSExceptio", "Too long: ");
    host.params["DibalAdres"] = std::string(300, 'a');
    auto op = MakeProbe(host);
    EXPECT_THROW(
        try { op->ParamAsInt("DibalAdres"); } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Too long: DibalAdres");
            throw;
        },
        Exception);
}

TEST(OperationCallbacks, HostListEndsAtZeroOrBlankAndIsFetchedOnce) {
    const struct {
        std::vector<std::string> items;
        std::vector<std::string> list;
        int calls;
    } cases[] = {
        {{"a", " b ", "c", "  ", "d"}, {"a", "b", "c"}, 4},
        {{"a", "b", "c", ""}, {"a", "b", "c"}, 4},
        {{"x"}, {"x"}, 2},
        {{}, {}, 1},
        {{std::string(301, 'L')}, {std::string(300, 'L')}, 2},
    };
    for (const auto& c : cases) {
        TestHost host;
        host.list = c.items;
        auto op = MakeProbe(host);
        EXPECT_EQ(op->HostList(), c.list);
        EXPECT_EQ(&op->HostList(), &op->HostList());
        EXPECT_EQ(host.listCalls, c.calls) << "the list is fetched once";
    }
}

TEST(OperationCallbacks, BreakAndSaveFollowTheHostsAnswers) {
    TestHost host;
    auto op = MakeProbe(host);
    EXPECT_FALSE(op->BreakRequested());
    EXPECT_NO_THROW(op->CheckBreak());
    host.breakQuery = [] { return true; };
    EXPECT_TRUE(op->BreakRequested());
    EXPECT_THROW(op->CheckBreak(), EAbort);

    EXPECT_NO_THROW(op->SaveResultToDatabase());
    host.saveResult = false;
    EXPECT_THROW(op->SaveResultToDatabase(), Exception);
    EXPECT_EQ(host.saveCalls, 2);
}

TEST(OperationCallbacks, MessagesGoTrimmedAndKeepTheUntrimmedText) {
    TestHost host;
    auto op = MakeProbe(host);
    op->Message(msgWarning, " \tfirst\r\n");
    EXPECT_EQ(op->ReplaceMessage(msgError, " second "), " \tfirst\r\n");
    EXPECT_EQ(op->LastMessage, " second ");
    EXPECT_EQ(host.messages, (std::vector<HostMessage>{{msgWarning, "first", false},
                                                       {msgError, "second", true}}));
    // A host buffer holds 300 characters: a longer message reaches the host cut to them.
    const std::string longText = " " + std::string(299, 'a') + "bcd ";
    op->Message(msgInfo, longText);
    op->ReplaceMessage(msgInfo, longText);
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[2].text, std::string(299, 'a') + "b");
    EXPECT_EQ(host.messages[3].text, std::string(299, 'a') + "b");
    EXPECT_EQ(op->LastMessage, longText);
    // Blanks only in front, exactly 300 characters after them, and 301 without any blanks.
    op->ReplaceMessage(msgInfo, "  \x01lead only");
    op->ReplaceMessage(msgInfo, "   " + std::string(300, 'x'));
    op->ReplaceMessage(msgInfo, std::string(301, 'y'));
    ASSERT_EQ(host.messages.size(), 7u);
    EXPECT_EQ(host.messages[4].text, "lead only");
    EXPECT_EQ(host.messages[5].text, std::string(300, 'x'));
    EXPECT_EQ(host.messages[6].text, std::string(300, 'y'));
    host.Unregister(TARGO_CB_ADD_MESSAGE);
    op->Message(msgInfo, "lost");
    EXPECT_EQ(host.messages.size(), 7u);
    EXPECT_EQ(op->LastMessage, "lost");
}

}  // namespace
