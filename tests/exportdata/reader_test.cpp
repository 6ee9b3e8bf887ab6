// KSExpBuf::ReadFromFile: the export file into the buffer.
#include <gtest/gtest.h>

#include <cstdio>

#include "expbuf_fixture.h"
#include "runtime/exceptions.h"

namespace {

class ReaderTest : public ::testing::Test {
protected:
    std::string Write(const std::string& bytes) {
        const std::string path = dir.File("kasa.exp");
        WriteBytes(path, bytes);
        return path;
    }
    // Reads `bytes` as the export file into `buf`.
    void Read(KSExpBuf& buf, const std::string& bytes, bool sort = false) {
        buf.ReadFromFile(Write(bytes), sort, -1);
    }
    TempDir dir;
};

TEST_F(ReaderTest, CommentsHeadingsAndUnknownTagsAreSkipped) {
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    Read(buf, "# komentarz\r\n[TOWARY]\r\n\r\n   \r\nplu;1;2;3\r\nXYZ;1\r\nPLU ;1\r\n");
    EXPECT_EQ(buf.LiczbaTowarow, 0);
    EXPECT_EQ(buf.towary.GetCount(), 0);
    const std::vector<std::string> expected = {
        "start 5 100 " + Cp("Wczytywanie listy towarów"),
        "type 0",
        "start 3 7 " + Cp("Analiza listy towarów"),
        "pos 7",
        "type 0",
    };
    EXPECT_EQ(progress.calls, expected);
}

TEST_F(ReaderTest, StageTextsComeFromTheirKeys) {
    TMLgExtTools lg(&KeyEchoLanguage);
    RecordingProgress progress(&lg);
    KSExpBuf buf(&progress);
    Read(buf, "VAT;23\r\n");
    buf.ZapiszWynikEksp(dir.File("wynik.exp"));
    const std::vector<std::string> expected = {
        "start 5 100 kstools_KSExpBuf/ufReadFromksactionMsgAdd",
        "type 0",
        "start 3 1 kstools_KSExpBuf/ufReadFromksactionMsgAdd_00001",
        "pos 1",
        "type 0",
        "start 3 0 kstools_KSExpBuf/ufZapiszWyksactionMsgAdd",
        "pos 0",
        "type 0",
    };
    EXPECT_EQ(progress.calls, expected);
}

TEST_F(ReaderTest, AnEmptyFileEndsTheAnalysisAtZero) {
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    Read(buf, "");
    ASSERT_GE(progress.calls.size(), 2u);
    EXPECT_EQ(progress.calls[progress.calls.size() - 2], "pos 0");
}

TEST_F(ReaderTest, GoodsAreAppendedWithLeadingBlanksAndAnyLineEnd) {
    KSExpBuf buf(nullptr);
    Read(buf, "  \t" + GoodsLine("1") + "\r" + GoodsLine("2", "20", "AKT") + "\n" +
                  GoodsLine("3", "30", "USU"));  // no final line end
    ASSERT_EQ(buf.LiczbaTowarow, 3);
    EXPECT_EQ(buf.LiczbaDod, 1);
    EXPECT_EQ(buf.LiczbaAkt, 1);
    EXPECT_EQ(buf.LiczbaUsu, 1);
    KSTowRec r;
    buf.CzytajRec(2, r);
    EXPECT_EQ(r.plu, 3);
    EXPECT_EQ(r.kod, "30");
    EXPECT_EQ(r.nr_buf, 2);
    // Reading again appends.
    Read(buf, GoodsLine("4"));
    EXPECT_EQ(buf.LiczbaTowarow, 4);
}

TEST_F(ReaderTest, BadActionStopsTheReadAndKeepsTheGoodsBeforeIt) {
    RecordingProgress progress;
    KSExpBuf buf(&progress);
    const std::string text = GoodsLine("1") + "\r\n" + GoodsLine("2", "2", "dod") + "\r\n" +
                             GoodsLine("3") + "\r\n";
    EXPECT_EQ(ThrownMessage([&] { Read(buf, text); }),
              Cp("Nieprawidłowy format pliku eksportowego (wiersz 2, pole 19)"));
    EXPECT_EQ(buf.LiczbaTowarow, 1);
    EXPECT_EQ(progress.calls.back(), "type 1");
}

// A reading error names the line of the file and, on a goods line, the field, after the
// runtime's own text; comment lines count as lines.
TEST_F(ReaderTest, ReadErrorsNameTheLineAndTheField) {
    struct Case {
        std::string text;
        std::string message;
    } cases[] = {
        {"# eksport\r\nPLU;;5;7;A;1;2;3;4;23;1;F;0;F;F;T;0;;3;DOD\r\n",
         "'' is not a valid integer value (wiersz 2, pole 1)"},
        {GoodsLine("1") + "\r\n\r\nPLU;2;5;7;A;1;2;3;4;23\r\n",
         "'' is not a valid integer value (wiersz 3, pole 10)"},
        {"PLU;1;5;7;A;1;2;3;4;x23;1;F;0;F;F;T;0;;3;DOD\r\n",
         "'x23' is not a valid integer value (wiersz 1, pole 9)"},
        // A zero byte in the value would end the message before its place in the file.
        {std::string("PLU;1;5;7;A;1;2;3;4;2") + '\0' + "x\x01;1;F;0;F;F;T;0;;3;DOD\r\n",
         "'2?x?' is not a valid integer value (wiersz 1, pole 9)"},
        // A long value would push the place past the host's 300-character line.
        {"PLU;1;5;7;A;1;2;3;4;" + std::string(400, '9') + "x;1;F;0;F;F;T;0;;3;DOD\r\n",
         "'" + std::string(64, '9') + "...' is not a valid integer value (wiersz 1, pole 9)"},
        {std::string("KON;1;Firma;F;Polna 1;00-001;Opole;1;1;K1;2024-01-01") + '\0' +
             "x;T;0;0\r\n",
         "'2024-01-01?x' is not a valid date and time (wiersz 1)"},
    };
    for (const Case& c : cases) {
        KSExpBuf buf(nullptr);
        EXPECT_EQ(ThrownMessage([&] { Read(buf, c.text); }), c.message) << c.text;
    }
}

TEST_F(ReaderTest, AMissingFileOrADirectoryIsAFileErrorAndCreatesNoArchive) {
    for (const std::string& path : {dir.File("brak.exp"), dir.Path()}) {
        RecordingProgress progress;
        KSExpBuf buf(&progress);
        try {
            buf.ReadFromFile(path, false, -1);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EInOutError& e) {
            // The runtime's own open-failure text, for a directory as for a missing file.
            EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\"");
        }
        EXPECT_EQ(progress.calls.back(), "type 1");
        EXPECT_FALSE(std::ifstream(dir.File("ARCH2.EXP")).good());
    }
}

TEST_F(ReaderTest, TheFileIsArchivedBesideItWithTheKind) {
    KSExpBuf buf(nullptr);
    const std::string path = Write("VAT;23\r\n");
    buf.ReadFromFile(path, false, 1);
    buf.ReadFromFile(path, false, 2);
    const std::string archive = ReadBytes(dir.WithSeparator() + "ARCH2.EXP");
    EXPECT_NE(archive.find("\r\nZAMKNIETA ZM. FISK.\r\nVAT;23\r\n"), std::string::npos) << archive;
    EXPECT_NE(archive.find("\r\nWSZYSTKIE\r\nVAT;23\r\n"), std::string::npos) << archive;
    EXPECT_EQ(buf.StawkiVat.size(), 2u);
}

// The archive holds the file as it was read, every line ending in CR LF, whatever its line ends.
TEST_F(ReaderTest, TheArchiveCopyHasEveryLineEndedWithCrLf) {
    KSExpBuf buf(nullptr);
    buf.ReadFromFile(Write("VAT;23\nVAT;8\rVAT;5\r\n\r\nVAT;0"), false, -1);
    const std::string archive = ReadBytes(dir.WithSeparator() + "ARCH2.EXP");
    const std::string copy = "VAT;23\r\nVAT;8\r\nVAT;5\r\n\r\nVAT;0\r\n";
    ASSERT_GE(archive.size(), copy.size());
    EXPECT_EQ(archive.substr(archive.size() - copy.size()), copy) << archive;
    EXPECT_EQ(buf.StawkiVat.size(), 4u);
}

// A file of several read blocks, its line ends mixed: CR LF lines are copied many at a time,
// the others one by one, and a CR LF split between two blocks is still one line end.
TEST_F(ReaderTest, TheArchiveCopyOfALargeFileWithMixedLineEndsIsLineForLine) {
    std::string bytes = "# " + std::string((1 << 20) - 3, 'x') + "\r\n";  // CR ends block 1
    std::string copy = bytes;
    int vat = 0;
    unsigned seed = 5;
    while (bytes.size() < (6u << 20) + 100) {
        seed = seed * 1103515245u + 12345u;
        // Lines of very different lengths, each filled with its own letter.
        const std::string line = "VAT;" + std::to_string(vat) + ";" +
                                 std::string(seed % 5 == 0 ? seed % 3000 : seed % 97,
                                             static_cast<char>('a' + vat % 26));
        // Mostly CR LF, so that long runs of such lines meet the block ends.
        const unsigned end = (seed >> 8) % 40;
        bytes += line + (end == 0 ? "\n" : end == 1 ? "\r" : "\r\n");
        copy += line + "\r\n";
        ++vat;
    }
    bytes += "VAT;7";  // no line end
    copy += "VAT;7\r\n";
    ++vat;
    KSExpBuf buf(nullptr);
    Read(buf, bytes);
    const std::string archive = ReadBytes(dir.WithSeparator() + "ARCH2.EXP");
    ASSERT_GE(archive.size(), copy.size());
    EXPECT_TRUE(archive.substr(archive.size() - copy.size()) == copy);
    EXPECT_EQ(buf.StawkiVat.size(), static_cast<size_t>(vat));
}

#if !defined(_WIN32)
// kasa.exp is opened once: a file put in its place while the export reads it (the host writing
// the next export) changes neither the goods read nor the archive copy.
TEST_F(ReaderTest, AFileReplacedWhileItIsReadChangesNothing) {
    struct ReplacingProgress : RecordingProgress {
        std::string path;
        void StartStage(const std::string& text, int type, int max) override {
            RecordingProgress::StartStage(text, type, max);
            if (calls.size() > 1 && !path.empty()) {  // after the archive copy and the count
                WriteBytes(path + ".new", "PLU;9;0;9;Inny;1;1;1;1;5;1;T;3;T;F;F;;;1;DOD\r\n");
                std::rename((path + ".new").c_str(), path.c_str());
                path.clear();
            }
        }
    } progress;
    const std::string original =
        "PLU;1;0;11;Jab\xB3ka;250;240;230;220;5;1;T;3;F;F;F;;0;0;DOD\r\n"
        "PLU;2;7;12;Gruszki;300;290;280;270;5;1;T;3;F;F;F;;0;0;AKT\r\n";
    progress.path = Write(original);
    KSExpBuf buf(&progress);
    buf.ReadFromFile(progress.path, false, -1);
    ASSERT_TRUE(progress.path.empty()) << "the file was not replaced";
    EXPECT_EQ(buf.LiczbaTowarow, 2);
    KSTowRec goods;
    buf.CzytajRec(1, goods);
    EXPECT_EQ(goods.plu, 2);
    const std::string archive = ReadBytes(dir.WithSeparator() + "ARCH2.EXP");
    EXPECT_EQ(archive.substr(archive.size() - original.size()), original);
}
#endif

TEST_F(ReaderTest, VatLines) {
    KSExpBuf buf(nullptr);
    Read(buf, "VAT;23\r\nVAT;-1\r\nVAT;8;800\r\nVAT;zw\r\nVAT;5;\r\nVAT\r\n");
    EXPECT_EQ(buf.StawkiVat, (std::vector<std::string>{"23", "-1", "8", "zw", "5", ""}));
    EXPECT_EQ(buf.StawkiVatPrec, (std::vector<std::string>{"2300", "-1", "800", "0", "500", "0"}));
}

TEST_F(ReaderTest, UnitsCashiersCurrenciesAssortmentsCustomersAndEuro) {
    KSExpBuf buf(nullptr);
    Read(buf,
         "JM;1;3;kg\r\nJM;2\r\nOPER;7;Nowak\r\nWAL;EUR;Euro;43215;T;N\r\nASS;4;Nabia\xB3\r\n"
         "KON;1;N;S;U;K;M;T;NIP;KK;;T;0;1\r\nKONA;2;N;S;U;K;M;T;NIP;KK;;F;0;1;5\r\n"
         "EUROKURS;43215\r\nEURO;abc\r\nEU;1\r\nEURX;40000\r\n");
    EXPECT_EQ(buf.JednostkiMiary, (std::vector<std::string>{"1;3;kg", "2;;"}));
    ASSERT_EQ(buf.CountKasjer(), 1);
    EXPECT_EQ(buf.GetKasjer(0)->Text(), "7;Nowak;;;");
    ASSERT_EQ(buf.CountWaluty(), 1);
    EXPECT_EQ(buf.GetWaluta(0)->GetKurs(), 43215);
    ASSERT_EQ(buf.CountAsort(), 1);
    KSAsort a;
    buf.CzytajAsort(0, a);
    EXPECT_EQ(a.as_name, "Nabia\xB3");
    EXPECT_EQ(buf.CountKontrahents(), 2);
    EXPECT_EQ(buf.LiczbaKontrahentow, 2);
    EXPECT_EQ(buf.KursEuro, 4.0L);  // the last EUR line wins
}

TEST_F(ReaderTest, EuroRateInTenThousandths) {
    KSExpBuf buf(nullptr);
    Read(buf, "EUROKURS;43215\r\n");
    EXPECT_NEAR(static_cast<double>(buf.KursEuro), 4.3215, 1e-12);
}

TEST_F(ReaderTest, SortingBuildsTheIndex) {
    KSExpBuf buf(nullptr);
    Read(buf, GoodsLine("1", "9") + "\r\n" + GoodsLine("2", "10") + "\r\n", true);
    EXPECT_TRUE(buf.Sorted);
    ASSERT_EQ(buf.index.GetCount(), 2);
    EXPECT_EQ(buf.index.GetInt(0, 0), 1);  // "10" before "9"
    KSExpBuf unsorted(nullptr);
    Read(unsorted, "", true);
    EXPECT_FALSE(unsorted.Sorted);
}

// Malformed input must fail cleanly or be skipped, never read outside its data.
TEST_F(ReaderTest, MalformedInputNeverCrashes) {
    const std::string longName(200000, '\xE6');
    struct Case {
        std::string bytes;
        int goods;
        bool fails;
    } cases[] = {
        {GoodsLine("1", "1", "DOD", ";" + longName), 1, false},
        {std::string(100000, ';'), 0, false},
        {"PLU" + std::string(5000, ';'), 0, true},
        {"PLU;;;;;;;;;;;;;;;;;;;;", 0, true},
        {"PLU;abc;def", 0, true},
        {"PLU;1;5;k;n;x;-;.;e9;23;1;F;0;F;F;T;0;;3;DOD;;;;;x;x;x;;;x;x;;x", 1, false},
        {std::string("\x80\x81\xFF;\xFE\r\n", 7) + GoodsLine("1", "\x80\xFF"), 1, false},
        {std::string("PLU;1\0;5", 8), 0, true},
        {GoodsLine() + "\r" + GoodsLine() + "\r", 2, false},
        {"VAT;" + std::string(70000, '9') + "\r\nEUR;" + std::string(70000, '9'), 0, false},
        {"OPER\r\nWAL\r\nJM\r\nKON\r\n", 0, true},
        {"ASS\r\n", 0, true},
    };
    for (const Case& c : cases) {
        KSExpBuf buf(nullptr);
        bool failed = false;
        try {
            Read(buf, c.bytes);
        } catch (const Exception&) {
            failed = true;
        }
        EXPECT_EQ(failed, c.fails) << c.bytes.substr(0, 60);
        EXPECT_EQ(buf.LiczbaTowarow, c.goods) << c.bytes.substr(0, 60);
    }
}

}  // namespace
