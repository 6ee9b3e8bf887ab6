// The exports that run on a library and a short-lived operation: the operation frame, the busy
// session, failure reports, session keep-alive, and robustness against null arguments.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "targodll.h"
#include "support/fake_clock.h"
#include "support/test_host.h"

namespace {

const std::string kSep(1, TARGO_STATUS_SEPARATOR);

HostMessage Error(const std::string& text) { return {TARGO_MSG_ERROR, text, false}; }

TEST(OperationExport, BusySessionWaitsReportsAndLeavesTheBufferAlone) {
    TestHost host;
    char buf[TARGODLL_BUFSIZE];
    std::memset(buf, 'Q', sizeof buf);
    std::memcpy(buf, "sesja 7", 8);
    int handle = 5;
    FakeClock clock;
    EXPECT_EQ(TargoDLLSerKasOperacja(host.Handle(), host.opContext, &handle, buf, TARGO_OP_EXPORT, 0), 1);
    EXPECT_GE(clock.Micros(), 900000);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              (HostMessage{TARGO_MSG_INFO, Cp("Oczekiwanie na zamknięcie sesji 'sesja 7'"), false}));
    EXPECT_EQ(std::string(buf, 8), std::string("sesja 7\0", 8));
    for (std::size_t i = 8; i < sizeof buf; ++i) ASSERT_EQ(buf[i], 'Q') << i;
    EXPECT_EQ(handle, 5);
    EXPECT_TRUE(host.parameterQueries.empty()) << "no operation ran";
}

// Codes without an operation of their own fail with the base text, reported under the name of
// the code; the session text comes back unchanged.
TEST(OperationExport, UnsupportedCodesReportTheOperationName) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {-3, "import sprzedaży"}, {-4, "import paragonu"}, {-6, "import automatyczny"},
        {-7, "nasłuch"},          {-9, "import licznika"}, {7, "operacja [7]"},
        {-10, "operacja [-10]"},  {0, "operacja [0]"},
    };
    for (const auto& c : cases) {
        TestHost host;
        std::string session = "sesja";
        EXPECT_EQ(host.Operation(c.code, 0, 0, &session), 0) << c.code;
        EXPECT_EQ(session, "sesja");
        const std::vector<HostMessage> expected = {
            Error(Cp("Podczas wykonywania operacji '") + Cp(c.name) + Cp("' wystąpił błąd:")),
            Error(Cp("Urządzenie nie obsługuje zleconego typu operacji")),
        };
        EXPECT_EQ(host.messages, expected) << c.code;
    }
}

TEST(OperationExport, FailureReportUsesTranslatedTexts) {
    TestHost host;
    host.SetTranslation("kstools_KSLib", "TKSActioOstateczstr_00004", "Error in '");
    host.SetTranslation("kstools_KSLib", "TKSActioOstateczstr_00005", "':\r\n");
    host.SetTranslation("kstools_KSLib", "TKSActioOperacjaExceptio", "Not supported");
    EXPECT_EQ(host.Operation(TARGO_OP_SALES_IMPORT), 0);
    EXPECT_EQ(host.Errors(), (std::vector<std::string>{Cp("Error in 'import sprzedaży':"),
                                                       "Not supported"}));
}

TEST(OperationExport, LongSessionTextComesBackCutTo300) {
    TestHost host;
    char buf[TARGODLL_BUFSIZE + 8];
    std::memset(buf, 's', sizeof buf);  // no terminator within the buffer at all
    int handle = 0;
    EXPECT_EQ(TargoDLLSerKasOperacja(host.Handle(), host.opContext, &handle, buf, -3, 0), 0);
    EXPECT_EQ(std::string(buf, 300), std::string(300, 's'));
    EXPECT_EQ(buf[300], 0);
    EXPECT_EQ(std::string(buf + 301, 7), std::string(7, 's'));
}

TEST(OperationExport, NullArgumentsDoNotCrash) {
    TestHost host;
    char buf[TARGODLL_BUFSIZE] = "x";
    int handle = 0;
    // Without a library or a session handle no operation runs: the frame's own failure path.
    EXPECT_EQ(TargoDLLSerKasOperacja(nullptr, 1, &handle, buf, TARGO_OP_EXPORT, 0), 0);
    EXPECT_EQ(TargoDLLSerKasOperacja(host.Handle(), 1, nullptr, buf, -3, 0), 0);
    EXPECT_STREQ(buf, "x");
    EXPECT_TRUE(host.messages.empty());
    // A null session text reads as empty and is not written back.
    EXPECT_EQ(TargoDLLSerKasOperacja(host.Handle(), 1, &handle, nullptr, -3, 0), 0);
    EXPECT_EQ(host.Errors().size(), 2u);
}

TEST(OperationExport, OperationReceivesTheHostsOperationContext) {
    TestHost host;
    host.opContext = 31337;
    host.Operation(TARGO_OP_SALES_IMPORT);
    EXPECT_EQ(host.seenOpContext, 31337);
}

TEST(ObjectExports, DevicePropertiesComeFromTheScaleOperation) {
    TestHost host;
    const std::pair<int, const char*> cases[] = {{1104, "-1"}, {1101, ""}, {1103, ""}, {0, ""}};
    for (const auto& [index, text] : cases) {
        char buf[TARGODLL_BUFSIZE];
        std::memset(buf, 'Z', sizeof buf);
        TargoDLLWlasciwosciUrzadzenia(host.Handle(), 1, buf, index);
        EXPECT_STREQ(buf, text) << index;
        EXPECT_EQ(buf[300], 0);
    }
    char buf[4] = "abc";
    TargoDLLWlasciwosciUrzadzenia(nullptr, 1, buf, 1104);
    EXPECT_EQ(buf[0], 0) << "no library: the buffer is emptied";
    TargoDLLWlasciwosciUrzadzenia(host.Handle(), 1, nullptr, 1101);
}

TEST(ObjectExports, SharedResourceNameIsTheDriverDirectoryUntrimmed) {
    TestHost host;
    host.params["DibalKatalogDrv"] = " /opt/dibalcom ";
    char buf[TARGODLL_BUFSIZE];
    std::memset(buf, 'Z', sizeof buf);
    TargoDLLSerKasNazwaZasobuDzielonego(host.Handle(), 1, buf);
    EXPECT_STREQ(buf, " /opt/dibalcom ");

    std::memcpy(buf, "old", 4);
    TargoDLLSerKasNazwaZasobuDzielonego(nullptr, 1, buf);
    EXPECT_STREQ(buf, "") << "emptied first, also when no operation can be made";
    TargoDLLSerKasNazwaZasobuDzielonego(host.Handle(), 1, nullptr);
}

TEST(ObjectExports, HowToFindReceiptAnswersZero) {
    TestHost host;
    EXPECT_EQ(TargoDLLSerKasJakSzukacParagonu(host.Handle(), 1, 1, 2, 3), 0);
    EXPECT_EQ(TargoDLLSerKasJakSzukacParagonu(nullptr, 1, 1, 2, 3), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST(ObjectExports, ShowWindowNamesTheConfigurationFunction) {
    TestHost host;
    char buf[TARGODLL_BUFSIZE];
    std::memset(buf, 'Z', sizeof buf);
    int number = 9;
    EXPECT_EQ(TargoDLLSerKasPokazOkno(host.Handle(), 1, 1, 0, &number, buf), 0);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(buf[0], 'Z');

    EXPECT_EQ(TargoDLLSerKasPokazOkno(host.Handle(), 1, 0, 1, &number, buf), 1);
    EXPECT_EQ(number, 0);
    const std::string name = Cp("Zapisz konfigurację DibalCom");
    EXPECT_EQ(std::string(buf), name);
    EXPECT_EQ(buf[name.size() + 1], 'Z') << "only the name and its terminator are written";

    host.SetTranslation("skalnix_dbaction", "alPokazOknstrcpyop_nazwa", std::string(400, 'n'));
    EXPECT_EQ(TargoDLLSerKasPokazOkno(host.Handle(), 1, 0, 0, &number, buf), 1);
    EXPECT_EQ(std::string(buf), std::string(300, 'n'));

    EXPECT_EQ(TargoDLLSerKasPokazOkno(host.Handle(), 1, 0, 0, nullptr, nullptr), 1);
    EXPECT_EQ(TargoDLLSerKasPokazOkno(nullptr, 1, 0, 0, &number, buf), 0);
}

TEST(SessionExport, KeepAliveCopiesTheTextBackOnlyForAFreeSession) {
    TestHost host;
    char buf[TARGODLL_BUFSIZE];
    std::memset(buf, 'Q', sizeof buf);
    std::memcpy(buf, "sesja", 6);
    int handle = 0;
    TargoDLLSerKasPodtrzymajSesje(host.Handle(), &handle, buf, 0, 1);
    EXPECT_STREQ(buf, "sesja");
    EXPECT_EQ(buf[299], 0) << "copied back with the bounded copy";
    EXPECT_EQ(buf[300], 0);

    std::memset(buf, 'Q', sizeof buf);
    std::memcpy(buf, "sesja", 6);
    handle = 3;
    TargoDLLSerKasPodtrzymajSesje(host.Handle(), &handle, buf, 0, 1);
    EXPECT_EQ(buf[299], 'Q') << "busy session: nothing is copied back";
    EXPECT_EQ(handle, 3);

    TargoDLLSerKasPodtrzymajSesje(nullptr, &handle, buf, 0, 0);
    TargoDLLSerKasPodtrzymajSesje(host.Handle(), nullptr, buf, 0, 0);
    TargoDLLSerKasPodtrzymajSesje(host.Handle(), &handle, nullptr, 0, 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST(LibraryExports, NullAndUnknownArgumentsAreHarmless) {
    TargoDLLZwolnijBiblioteke(nullptr);
    TargoDLLRejestrujCallback(nullptr, nullptr, TARGO_CB_ADD_MESSAGE);
    TargoDLLUstawJezykKomponentow(3);
    HTARGODLLLIB lib = TargoDLLRejestrujBiblioteke(1, 0, 0, nullptr);
    ASSERT_NE(lib, nullptr);
    // No callbacks at all: every object call still answers.
    char buf[TARGODLL_BUFSIZE] = {};
    int handle = 0;
    EXPECT_EQ(TargoDLLSerKasOperacja(lib, 1, &handle, buf, -3, 0), 0);
    TargoDLLWlasciwosciUrzadzenia(lib, 1, buf, 1104);
    EXPECT_STREQ(buf, "-1");
    TargoDLLZwolnijBiblioteke(lib);
}

TEST(LibraryExports, RegistrationMakesTheHostsWindowTheOwner) {
    int window = 0;
    HTARGODLLLIB lib = TargoDLLRejestrujBiblioteke(1, 0, 0, &window);
    EXPECT_EQ(platform::OwnerWindow(), &window);
    TargoDLLZwolnijBiblioteke(lib);
    platform::SetOwnerWindow(nullptr);
}

}  // namespace
