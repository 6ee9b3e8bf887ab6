// The export operation's support: exchange file names, rejected goods, their report in the
// window and the log file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "probe_action.h"
#include "support/test_host.h"

namespace {

const std::string S(1, TARGO_STATUS_SEPARATOR);
const std::string kDashes(80, '-');

std::vector<std::string> Numbered(const char* prefix, int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back(prefix + std::to_string(i));
    return lines;
}

TEST(KSAction, ExchangeFileNamesAreAppendedToTheDirectory) {
    for (const std::string dir : {"", "/x/y/"}) {
        TestHost host;
        host.exchangeDir = dir;
        auto op = MakeProbe(host);
        EXPECT_EQ(op->ExportFileName(), dir + "kasa.exp");
        EXPECT_EQ(op->ResultFileName(), dir + "wynik.exp");
        EXPECT_EQ(op->LogFileName(), dir + "kasa.log");
    }
}

TEST(KSAction, AddRejectedCodeByLowFourBitsOfKind) {
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1},    {2, 5},    {3, 2},   {4, 7},
                                         {5, 2}, {6, 2},    {0x12, 5}, {0x34, 7}, {-16, 1}};
    TestHost host;
    auto op = MakeProbe(host);
    for (const auto& [kind, code] : cases) EXPECT_EQ(op->AddRejected("a", "b", kind), code) << kind;
    EXPECT_EQ(op->RejectedList.size(), std::size(cases));
    EXPECT_EQ(op->RejectedList[0], "b (a)");
}

class LogRejected : public ::testing::Test {
protected:
    LogRejected() {
        host.exchangeDir = temp.WithSeparator();
        op = MakeProbe(host);
        op->RejectLogEnabled = true;
    }
    std::string Log() const { return ReadFile(temp.File("kasa.log")); }
    bool LogExists() const { return std::filesystem::exists(temp.File("kasa.log")); }
    // The block AppendToLog writes for `rejected`, up to the header's date and time.
    static void ExpectBlock(const std::string& block, const std::vector<std::string>& rejected) {
        const std::string head = kDashes + "\r\n" + Cp("Eksport danych z dnia ");
        const std::string tail = Cp("\n\rTowary odrzucone i ostrzeżenia:") + "\r\n";
        std::string list;
        for (const std::string& line : rejected) list += line + "\r\n";
        list += "\r\n\r\n";
        ASSERT_EQ(block.substr(0, head.size()), head);
        const std::size_t tailAt = block.find(tail, head.size());
        ASSERT_NE(tailAt, std::string::npos);
        EXPECT_GT(tailAt, head.size()) << "the date and time stand in the header";
        EXPECT_EQ(block.substr(tailAt + tail.size()), list);
    }

    TestHost host;
    TempDir temp;
    std::unique_ptr<ProbeAction> op;
};

TEST_F(LogRejected, DisabledReportOnlyMarksItDone) {
    op->RejectLogEnabled = false;
    op->RejectedList = {"r"};
    op->WarningList = {"w"};
    op->LogRejected();
    EXPECT_TRUE(op->RejectLogDone);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(LogExists());
    EXPECT_EQ(op->RejectedList.size(), 1u);
}

TEST_F(LogRejected, NothingToReportWritesNothing) {
    op->LogRejected();
    EXPECT_TRUE(op->RejectLogDone);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(LogExists());
}

TEST_F(LogRejected, TwelveRejectedShowTenAndAnOverflowLine) {
    op->RejectedList = Numbered("towar ", 12);
    op->LogRejected();
    std::vector<HostMessage> expected = {
        {msgInfo, "- towary odrzucone:" + S + "0", false},
        {msgInfo, "- towary odrzucone:" + S + "12", true},
    };
    for (int i = 1; i <= 10; ++i) expected.push_back({msgError, "...towar " + std::to_string(i), false});
    expected.push_back({msgError, "i tak dalej...", false});
    EXPECT_EQ(host.messages, expected);
    ExpectBlock(Log(), Numbered("towar ", 12));
    EXPECT_TRUE(op->RejectedList.empty()) << "written lines leave the list";
    EXPECT_TRUE(op->RejectLogDone);
}

TEST_F(LogRejected, ExactlyTenHaveNoOverflowLine) {
    op->RejectedList = Numbered("t", 10);
    op->LogRejected();
    EXPECT_EQ(host.Errors(), Numbered("...t", 10));
}

TEST_F(LogRejected, WarningsReachOnlyTheWindow) {
    op->WarningList = Numbered("uwaga ", 11);
    op->LogRejected();
    std::vector<std::string> warnings = {Cp("- ostrzeżenia:") + S + "0", Cp("- ostrzeżenia:") + S + "11"};
    for (const std::string& w : Numbered("...uwaga ", 10)) warnings.push_back(w);
    warnings.push_back("i tak dalej...");
    EXPECT_EQ(host.Texts(msgWarning), std::vector<std::string>(warnings.begin() + 2, warnings.end()));
    EXPECT_EQ(host.Texts(msgInfo), std::vector<std::string>(warnings.begin(), warnings.begin() + 2));
    EXPECT_TRUE(host.Errors().empty());
    ExpectBlock(Log(), {});
}

TEST_F(LogRejected, RunsOnlyOnce) {
    op->RejectedList = {"a"};
    op->LogRejected();
    const std::string log = Log();
    host.ClearMessages();
    op->RejectedList = {"b"};
    op->WarningList = {"c"};
    op->LogRejected();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Log(), log);
}

TEST_F(LogRejected, AppendToLogAddsBlocksAndKeepsEarlierContent) {
    WriteFile(temp.File("kasa.log"), "earlier\r\n");
    op->RejectedList = {"x (1)"};
    op->AppendToLog("H1");
    op->RejectedList = {"y (2)", "z (3)"};
    op->AppendToLog("H2");
    EXPECT_EQ(Log(), "earlier\r\n" + kDashes + "\r\nH1\r\nx (1)\r\n\r\n\r\n" + kDashes +
                         "\r\nH2\r\ny (2)\r\nz (3)\r\n\r\n\r\n");
    EXPECT_TRUE(op->RejectedList.empty());
}

TEST_F(LogRejected, AppendToLogFailsSilentlyAndKeepsTheList) {
    op->ExchangeDir = temp.File("missing") + "/";
    op->RejectedList = {"x"};
    EXPECT_NO_THROW(op->AppendToLog("H"));
    EXPECT_EQ(op->RejectedList, std::vector<std::string>{"x"});
    EXPECT_FALSE(std::filesystem::exists(temp.File("missing")));
}

}  // namespace
