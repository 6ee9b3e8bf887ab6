// Progress stages in the host's window and the failure report of an operation.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "probe_action.h"
#include "runtime/exceptions.h"
#include "support/test_host.h"

namespace {

const std::string S(1, TARGO_STATUS_SEPARATOR);

HostMessage Add(int kind, const std::string& text) { return {kind, text, false}; }
HostMessage Rep(int kind, const std::string& text) { return {kind, text, true}; }

TEST(StartStage, LinesSuffixesAndKinds) {
    const struct {
        std::string text;
        int type, max;
        std::vector<HostMessage> sent;
        std::string caption;
        int stageMax;
    } cases[] = {
        {"T", stagePercent, 0, {Add(msgInfo, "T:" + S + "0 %")}, "T", 1},
        {"a\r\nb\nc", stageDone, 5,
         {Add(msgInfo, "a"), Add(msgInfo, "b"), Add(msgInfo, "c" + S + "OK")}, "c", 5},
        {"a\rb", stageCounter, 100, {Add(msgInfo, "a" + S + "0"), Add(msgInfo, "b:" + S + "0")},
         "b", 100},
        {"x\r\n\r\ny\r\n", stageError, -4,
         {Add(msgError, "x"), Add(msgError, ""), Add(msgError, "y")}, "y", 1},
        {"w", stageWarning, 3, {Add(msgWarning, "w")}, "w", 3},
        {"p\nq", stagePlain, 100, {Add(msgInfo, "p"), Add(msgInfo, "q")}, "q", 100},
        {"u", 9, 100, {Add(msgInfo, "u")}, "u", 100},
        {"\n", stageDone, 7, {Add(msgInfo, "OK")}, "", 7},
    };
    for (const auto& c : cases) {
        TestHost host;
        auto op = MakeProbe(host);
        op->StagePos = 3;
        op->StartStage(c.text, c.type, c.max);
        EXPECT_EQ(host.messages, c.sent) << c.text;
        EXPECT_EQ(op->StageCaption, c.caption) << c.text;
        EXPECT_EQ(op->StageType, c.type);
        EXPECT_EQ(op->StageMax, c.stageMax);
        EXPECT_EQ(op->StagePos, 0);
    }
}

TEST(StartStage, EmptyTextSendsNothingAndKeepsTheStage) {
    TestHost host;
    auto op = MakeProbe(host);
    op->StartStage("cap", stagePercent, 20);
    op->SetProgress(4);
    host.ClearMessages();
    op->StartStage("", stageDone, 1);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(op->StageCaption, "cap");
    EXPECT_EQ(op->StageType, stagePercent);
    EXPECT_EQ(op->StageMax, 20);
    EXPECT_EQ(op->StagePos, 4);
}

TEST(SetProgress, RewritesOnlyPercentAndCounterLines) {
    TestHost host;
    auto op = MakeProbe(host);
    op->StartStage("Wysylanie", stagePercent, 20);
    host.ClearMessages();
    op->SetProgress(7);
    op->SetProgress(7);
    op->SetProgress(20);
    EXPECT_EQ(host.messages, (std::vector<HostMessage>{Rep(msgInfo, "Wysylanie:" + S + "35 %"),
                                                       Rep(msgInfo, "Wysylanie:" + S + "100 %")}));

    host.ClearMessages();
    op->StartStage("Licznik", stageCounter, 1);
    host.ClearMessages();
    op->SetProgress(12345);
    EXPECT_EQ(host.messages, (std::vector<HostMessage>{Rep(msgInfo, "Licznik:" + S + "12345")}));

    host.ClearMessages();
    op->StartStage("Gotowe", stageDone, 10);
    host.ClearMessages();
    op->SetProgress(5);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(op->StagePos, 5);
}

TEST(SetProgress, LargePositionsDoNotOverflowThePercentage) {
    TestHost host;
    auto op = MakeProbe(host);
    op->StartStage("Big", stagePercent, 2000000000);
    host.ClearMessages();
    op->SetProgress(1000000000);
    EXPECT_EQ(host.messages, (std::vector<HostMessage>{Rep(msgInfo, "Big:" + S + "50 %")}));
}

TEST(SetStageType, RebuildsTheLineFromTheCaption) {
    const struct {
        int type;
        HostMessage sent;
    } cases[] = {
        {stageDone, Rep(msgInfo, "Cap" + S + "OK")},
        {stageError, Rep(msgError, "Cap")},
        {stageWarning, Rep(msgWarning, "Cap")},
        {stageCounter, Rep(msgInfo, "Cap:" + S + "6")},
        {stagePlain, Rep(msgInfo, "Cap")},
    };
    for (const auto& c : cases) {
        TestHost host;
        auto op = MakeProbe(host);
        op->StartStage("Cap", stagePercent, 8);
        op->SetProgress(6);
        host.ClearMessages();
        op->SetStageType(c.type);
        op->SetStageType(c.type);  // the same type again sends nothing
        EXPECT_EQ(host.messages, std::vector<HostMessage>{c.sent}) << c.type;
    }
    TestHost host;
    auto op = MakeProbe(host);
    op->StartStage("Cap", stageCounter, 8);
    op->SetProgress(6);
    host.ClearMessages();
    op->SetStageType(stagePercent);
    EXPECT_EQ(host.messages, std::vector<HostMessage>{Rep(msgInfo, "Cap:" + S + "75 %")});
}

// ---- FinalError ----

std::vector<std::string> Report(const std::exception* error, TestHost& host) {
    auto op = MakeProbe(host);
    op->FinalError("eksport", error);
    for (const HostMessage& m : host.messages) EXPECT_EQ(m.kind, msgError) << m.text;
    return host.Errors();
}

TEST(FinalError, ReportByKindOfFailure) {
    const EAbort abort("stop");
    const Exception plain(Cp("Brak pliku ąę"));
    const EInOutError derived("Disk\r\nfull");
    const std::runtime_error standard("std failure");
    const EMException topics("m", {{12, "Title A", "Desc A"}, {-3, "Title B", "Desc B"}});
    const EMException noTopics("m");
    const std::string head = Cp("Podczas wykonywania operacji 'eksport' wystąpił błąd:");
    const struct {
        const char* what;
        const std::exception* error;
        std::vector<std::string> lines;
    } cases[] = {
        {"unknown", nullptr, {Cp("Podczas wykonywania operacji 'eksport' wystąpił nierozpoznawalny błąd")}},
        {"abort", &abort, {Cp("Operacja 'eksport' została przerwana")}},
        {"plain", &plain, {head, Cp("Brak pliku ąę")}},
        {"derived", &derived, {head, "Disk", "full"}},
        {"standard", &standard, {head, "std failure"}},
        {"topics", &topics, {head, "[12] Title A", "Desc A", "[-3] Title B", "Desc B"}},
        {"no topics", &noTopics, {head}},
    };
    for (const auto& c : cases) {
        TestHost host;
        EXPECT_EQ(Report(c.error, host), c.lines) << c.what;
    }
}

TEST(FinalError, FailureWhilePostingIsSwallowed) {
    TestHost host;
    // A report whose posting fails must not escape.
    struct Thrower : ProbeAction {
        using ProbeAction::ProbeAction;
        void StartStage(const std::string&, int, int) override { throw std::runtime_error("x"); }
    } throwing(host.Library(), 1);
    const Exception error("e");
    EXPECT_NO_THROW(throwing.FinalError("eksport", &error));
}

}  // namespace
