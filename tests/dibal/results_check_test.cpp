// The result check over hand-written dibal.exp files: which goods are listed as rejected and
// which tr_ok each goods ends with.
#include <cstdio>

#include "exportdata/ksexpbuf.h"
#include "flow_fixture.h"
#include "runtime/exceptions.h"

namespace {

std::string Pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string Code(int plu, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, plu);
    return buffer;
}

// Record lines with the fields the check reads at their real positions.
std::string Line22(int plu, const std::string& name) {
    return "0022" "00" "M" + Code(plu, 5) + "00" + Pad(name, 14) + "00100\r\n";
}
std::string FirstLine(const char* type, int plu, const std::string& name, std::size_t nameWidth) {
    return Pad(std::string("00") + type + "00M" + Code(plu, 6) + "000" + Pad(name, nameWidth), 130) +
           "\r\n";
}
std::string NextLine(const char* type, int plu) {
    return Pad(std::string("00") + type + "00" + Code(plu, 6) + "0", 130) + "\r\n";
}
std::string Marked(std::string line) {
    line[2] = '*';
    return line;
}

struct Goods {
    int plu;
    int status;
    std::vector<std::string> lines;  // its record lines (empty: not sent to the scale)
    std::vector<bool> marked;        // per line, as DibalCom left it
    bool trOkBefore;
    bool trOkAfter;
};

struct CheckCase {
    const char* name;
    const char* series;
    std::vector<Goods> goods;
    std::vector<std::string> rejected;  // error messages, in order
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class ResultCheck : public FlowTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ResultCheck, JudgesEachGoodsByItsFirstRecordLine) {
    const CheckCase& c = GetParam();
    SkalnixAction& action = SerialAction();
    action.Settings.Series = c.series;
    KSExpBuf buffer(&action);
    action.ExpBuf = &buffer;
    std::string file;
    for (const Goods& g : c.goods) {
        KSTowRec rec;
        rec.plu = g.plu;
        rec.kod = std::to_string(g.plu);
        rec.status = g.status;
        rec.org_status = g.status;
        rec.tr_ok = g.trOkBefore;
        for (std::size_t i = 0; i < g.lines.size(); ++i) {
            rec.plu_rec += g.lines[i];
            file += g.marked[i] ? Marked(g.lines[i]) : g.lines[i];
        }
        // Goods with records went to DibalCom: the plan names their rows and lines.
        if (!rec.plu_rec.empty())
            action.Plan.AddSent(buffer.LiczbaTowarow, rec.plu_rec, c.series);
        buffer.DodajRec(rec);
    }
    WriteFile(driver.File("dibal.exp"), file);
    host.ClearMessages();

    action.CheckResults();

    EXPECT_EQ(host.Errors(), c.rejected);
    for (int i = 0; i < static_cast<int>(c.goods.size()); ++i)
        EXPECT_EQ(buffer.TrOk(i), c.goods[i].trOkAfter) << "goods " << i;
    EXPECT_TRUE(action.RejectedList.empty());  // handed to the log
    action.ExpBuf = nullptr;
}

const std::string kApples = "Jab\xB3ka";  // Windows-1250
const std::string kPears = "Gruszki";

INSTANTIATE_TEST_SUITE_P(
    Series, ResultCheck,
    ::testing::Values(
        CheckCase{"MTwoOfThreeMarked",
                  "M",
                  {{1, 0, {Line22(1, kApples)}, {true}, false, true},
                   {2, 1, {Line22(2, kPears)}, {false}, false, false},
                   {3, 3, {Line22(3, "Jajka")}, {true}, false, true}},
                  {"...00002 Gruszki"}},
        CheckCase{"AEveryUnmarkedLineInOrder",
                  "A",
                  {{7, 0, {FirstLine("X1", 7, kPears, 24)}, {false}, false, false},
                   {5, 0, {FirstLine("X1", 5, kApples, 24)}, {false}, false, false}},
                  {"...000007 Gruszki", "...000005 " + kApples}},
        CheckCase{"LUnmarkedL2AndL4ListedOnce",
                  "L",
                  {{1, 0, {FirstLine("L2", 1, kApples, 24), NextLine("L4", 1), NextLine("L4", 1)},
                    {false, false, false}, false, false},
                   {2, 0, {FirstLine("L2", 2, kPears, 24), NextLine("L4", 2)}, {true, false},
                    false, true}},
                  {"...000001 " + kApples}},
        CheckCase{"H2MarkedHeadCountsAsSent",
                  "H2",
                  {{4, 0,
                    {FirstLine("H2", 4, kPears, 30), NextLine("H3", 4), NextLine("H4", 4),
                     NextLine("H4", 4), NextLine("H4", 4)},
                    {true, false, false, false, false}, false, true}},
                  {}},
        // Goods without a record were never sent: not for the scale (tr_ok set by the
        // preparation) or over the capacity (tr_ok left clear). Neither is judged.
        CheckCase{"GoodsWithoutRecordKeepTrOk",
                  "A",
                  {{1, 0, {}, {}, true, true},
                   {2, 0, {}, {}, false, false},
                   {3, 0, {FirstLine("X1", 3, kApples, 24)}, {true}, false, true}},
                  {}},
        CheckCase{"StatusNothingIsNotJudged",
                  "A",
                  {{1, 4, {FirstLine("X1", 1, kApples, 24)}, {true}, false, false}},
                  {}},
        CheckCase{"SameCodeAndNameShareTheVerdict",
                  "A",
                  {{9, 0, {FirstLine("X1", 9, kPears, 24)}, {true}, false, false},
                   {9, 1, {FirstLine("X1", 9, kPears, 24)}, {false}, false, false}},
                  {"...000009 Gruszki"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FlowTest, ResultCheckReportsAndLogs) {
    SkalnixAction& action = SerialAction();
    action.Settings.Series = "M";
    KSExpBuf buffer(&action);
    action.ExpBuf = &buffer;
    KSTowRec rec;
    rec.plu = 2;
    rec.status = 0;
    rec.plu_rec = Line22(2, kPears);
    action.Plan.AddSent(0, rec.plu_rec, "M");
    buffer.DodajRec(rec);
    WriteFile(driver.File("dibal.exp"), rec.plu_rec);
    host.ClearMessages();

    action.CheckResults();

    std::vector<std::string> lines;
    for (const HostMessage& m : host.messages)
        lines.push_back(m.text);
    const std::vector<std::string> expected = {
        "- towary odrzucone przez dibalcom: :\x01" "0",
        "- towary odrzucone przez dibalcom: :\x01" "1",
        "...00002 Gruszki",
        "Sprawdzam wyniki eksportu: :\x01" "0",
        "Sprawdzam wyniki eksportu: \x01OK",
    };
    // Lines reach the host trimmed; a counter stage adds ":" after its caption.
    for (const std::string& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;

    const std::string log = ReadFile(exchange.File("kasa.log"));
    EXPECT_EQ(log.rfind(std::string(80, '-') + "\r\nEksport danych z dnia ", 0), 0u) << log;
    EXPECT_NE(log.find("\n\rTowary odrzucone:\r\n00002 " + Pad(kPears, 14) + "\r\n\r\n\r\n"),
              std::string::npos)
        << log;
    action.ExpBuf = nullptr;
}

// A record file cut short (DibalCom rewrote it, the disk was full) leaves goods whose lines
// are gone: they were not seen sent, so they are listed and not reported as sent.
TEST_F(FlowTest, ResultCheckTakesAMissingLineAsNotSent) {
    SkalnixAction& action = SerialAction();
    action.Settings.Series = "A";
    KSExpBuf buffer(&action);
    action.ExpBuf = &buffer;
    std::string file;
    for (int plu : {1, 2}) {
        KSTowRec rec;
        rec.plu = plu;
        rec.status = 0;
        rec.plu_rec = FirstLine("X1", plu, kPears + std::to_string(plu), 24);
        action.Plan.AddSent(buffer.LiczbaTowarow, rec.plu_rec, "A");
        buffer.DodajRec(rec);
        if (plu == 1) file = Marked(rec.plu_rec);
    }
    WriteFile(driver.File("dibal.exp"), file);
    host.ClearMessages();

    action.CheckResults();

    EXPECT_EQ(host.Errors(), std::vector<std::string>{"...000002 Gruszki2"});
    EXPECT_TRUE(buffer.TrOk(0));
    EXPECT_FALSE(buffer.TrOk(1));
    action.ExpBuf = nullptr;
}

// DibalCom only marks lines. A record file emptied, cut, shifted or rewritten after the transfer
// proves nothing about the goods whose lines changed: they count as not sent.
TEST_F(FlowTest, ResultCheckTrustsOnlyLinesStillInPlace) {
    const std::vector<std::vector<std::string>> goodsLines = {
        {FirstLine("L2", 1, kApples, 24), NextLine("L4", 1)},
        {FirstLine("L2", 2, kPears, 24)},
        {FirstLine("L2", 3, "Jajka", 24), NextLine("L4", 3), NextLine("L4", 3)},
    };
    std::string marked;
    for (const auto& lines : goodsLines)
        for (const std::string& line : lines) marked += Marked(line);
    const std::size_t second = goodsLines[0][0].size() + goodsLines[0][1].size();
    const auto without = [&](std::size_t at, std::size_t length) {
        return marked.substr(0, at) + marked.substr(at + length);
    };
    std::string renamed = marked;
    renamed[second + 20] = 'X';  // inside goods 2's name
    std::string lastChanged = marked;
    lastChanged[marked.size() - 5] = '9';
    std::string lineFeeds;
    for (char c : marked)
        if (c != '\r') lineFeeds += c;
    const struct {
        const char* name;
        std::string file;
        std::vector<bool> sent;
    } cases[] = {
        {"as DibalCom marked it", marked, {true, true, true}},
        {"emptied", "", {false, false, false}},
        {"cut inside goods 2", marked.substr(0, second + 10), {true, false, false}},
        {"a line of goods 1 gone", without(goodsLines[0][0].size(), goodsLines[0][1].size()),
         {false, false, false}},
        {"goods 2 renamed", renamed, {true, false, true}},
        {"last line of goods 3 changed", lastChanged, {true, true, false}},
        {"more after the last line", marked + "00*200M000004\r\n", {true, true, true}},
        {"line ends rewritten", lineFeeds, {false, false, false}},
    };
    for (const auto& c : cases) {
        SkalnixAction& action = SerialAction();
        action.Settings.Series = "L";
        action.Plan = dibal::ExportPlan();
        KSExpBuf buffer(&action);
        action.ExpBuf = &buffer;
        for (const auto& lines : goodsLines) {
            KSTowRec rec;
            rec.plu = buffer.LiczbaTowarow + 1;
            rec.status = 0;
            for (const std::string& line : lines) rec.plu_rec += line;
            action.Plan.AddSent(buffer.LiczbaTowarow, rec.plu_rec, "L");
            buffer.DodajRec(rec);
        }
        WriteFile(driver.File("dibal.exp"), c.file);

        action.CheckResults();

        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(buffer.TrOk(i), c.sent[static_cast<std::size_t>(i)]) << c.name << ", goods " << i + 1;
        action.ExpBuf = nullptr;
    }
}

TEST_F(FlowTest, ResultCheckWithoutRecordFileFails) {
    SkalnixAction& action = SerialAction();
    KSExpBuf buffer(&action);
    action.ExpBuf = &buffer;
    EXPECT_THROW(action.CheckResults(), std::exception);
    action.ExpBuf = nullptr;
}

}  // namespace
