// KSExpBuf::ReadFromFile: the host's export file read line by line into the buffer.
#include <algorithm>
#include <cstdint>
#include <climits>

#include "exportdata/fields.h"
#include "exportdata/goods_line.h"
#include "exportdata/ksexpbuf.h"
#include "exportdata/line_reader.h"
#include "exportdata/texts.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/xftools.h"
#include "targodll.h"
#include "tools/archive_copy.h"
#include "tools/ltools.h"
#include "tools/progress.h"

namespace {

// The directory part of a path, with its trailing separator; empty without one.
std::string DirectoryOf(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (platform::IsPathSeparator(path[i - 1])) return path.substr(0, i);
    return std::string();
}

// Field `from` to field `to` of the split line joined with ";" (missing ones empty).
std::string JoinFields(TLJWords& words, int from, int to) {
    std::string text = words.Word(from);
    for (int i = from + 1; i <= to; ++i) {
        text += ';';
        text += words.Word(i);
    }
    return text;
}

// About one second (0.0000116 of a day) between progress updates and pauses.
constexpr std::int64_t kPauseIntervalMicros = 1002240;
constexpr int kLinesPerClockCheck = 32;

// The per-line work: everything one line of the file adds to the buffer.
class ExportLineParser {
public:
    explicit ExportLineParser(KSExpBuf& buf) : buf_(buf) { words_.Separator.assign(1, ';'); }

    // The field of the goods line read last, counted from 1 after the tag; 0 for other lines.
    int GoodsField() const { return goodsLine_ ? words_.LastIndex : 0; }

    void Parse(std::string_view raw) {
        goodsLine_ = false;
        const std::string_view line = exportfields::TrimView(raw);
        if (line.empty() || line[0] == '#' || line[0] == '[') return;
        // The line stays in the reader's buffer until the next one is asked for.
        words_.SplitInPlace(line);
        const std::string_view tag = words_.View(0);
        const TMLgExtTools* lg = buf_.LgTools();
        if (tag == "PLU") {
            goodsLine_ = true;
            ReadGoodsLine(words_, lg, goods_);
            AppendGoods(buf_, goods_);
        } else if (tag == "KON" || tag == "KONA") {
            customer_.FromLine(std::string(line), lg);
            buf_.DodajRec(customer_);
        } else if (tag == "VAT") {
            ReadVat();
        } else if (tag == "JM") {
            buf_.JednostkiMiary.push_back(JoinFields(words_, 1, 3));
        } else if (tag == "OPER") {
            buf_.Kasjerzy.push_back(std::make_unique<KSKasjer>(JoinFields(words_, 1, 5), lg));
        } else if (tag == "WAL") {
            buf_.Waluty.push_back(std::make_unique<KSWaluta>(JoinFields(words_, 1, 5), lg));
        } else if (tag == "ASS") {
            assortment_.FromLine(std::string(line));
            buf_.DodajAsort(assortment_);
        } else if (tag.size() >= 3 && tag.compare(0, 3, "EUR") == 0) {
            buf_.KursEuro = TxfTools().FromString(words_.Word(1), 10, false).Value() / 10000;
        }
    }

private:
    void ReadVat() {
        const std::string& rate = words_.Word(1);
        buf_.StawkiVat.push_back(rate);
        if (words_.Count() >= 3) {
            buf_.StawkiVatPrec.push_back(words_.Word(2));
        } else {
            const int percent = exportfields::LenientInt(rate, 0);
            buf_.StawkiVatPrec.push_back(
                std::to_string(percent < 0 ? -1 : exportfields::WrapMul(percent, 100)));
        }
    }

    KSExpBuf& buf_;
    TLJWords words_;
    GoodsLineView goods_;  // views of the line in words_
    KSKontrRec customer_;
    KSAsort assortment_;
    bool goodsLine_ = false;
};

// A goods line: "PLU" alone or followed by ";", blanks around the line aside.
bool IsGoodsLine(std::string_view line) {
    const std::string_view t = exportfields::TrimView(line);
    return t.substr(0, 3) == "PLU" && (t.size() == 3 || t[3] == ';');
}

// Lines of the file and, among them, the goods lines (for reserving the goods table); each
// line also goes to `archive` when there is one. Lines ending in CR LF in the file go to the
// archive as they lie in the reader's buffer, many at a time: they are what the archive holds.
void CountLines(BlockLineReader& reader, ArchiveCopy* archive, int& lines, int& goods) {
    std::string_view line;
    lines = goods = 0;
    const char* runBegin = nullptr;  // the CR LF lines not yet given to the archive
    const char* runEnd = nullptr;
    auto flush = [&] {
        if (runBegin != runEnd) archive->AddCrLfLines(std::string_view(runBegin, static_cast<size_t>(runEnd - runBegin)));
        runBegin = runEnd = nullptr;
    };
    while (lines < INT_MAX) {
        bool crlf = false;
        if (!reader.Buffered(line, crlf)) {
            // The reader is about to move its buffer: what is gathered goes first.
            if (archive) flush();
            if (!reader.Next(line)) break;
            crlf = false;  // taken line by line
        }
        ++lines;
        if (archive) {
            const char* const lineEnd = line.data() + line.size();
            if (!crlf) {
                flush();
                archive->AddLine(line);
            } else if (line.data() == runEnd && runEnd != nullptr) {
                runEnd = lineEnd + 2;
            } else {
                flush();
                runBegin = line.data();
                runEnd = lineEnd + 2;
            }
        }
        if (IsGoodsLine(line)) ++goods;
    }
    if (archive) flush();
}

}  // namespace

void KSExpBuf::ReadFromFile(const std::string& path, bool sort, int archiveKind) {
    if (operation_)
        operation_->StartStage(
            expbuftext::Get(lg_, "ufReadFromksactionMsgAdd", "Wczytywanie listy towarów"),
            TARGO_STAGE_PLAIN, 100);
    try {
        ExportLineParser parser(*this);
        // The file is opened once: the first pass copies it into the archive and counts its
        // lines, the second reads the same open file again, block by block, so that it never
        // sits in memory beside the tables it fills. A file replaced under its name meanwhile
        // can neither lose goods nor put another file into the archive.
        const std::string archivePath = DirectoryOf(path) + "ARCH2.EXP";
        int lines = 0, goods = 0;
        if (archivePath == path) {
            // Archived into itself: the copy is made whole before the file is read.
            TLTools().ArchiveFile(path, archivePath, lg_, true, archiveKind, true, std::string());
        }
        BlockLineReader reader(path);
        if (archivePath == path) {
            CountLines(reader, nullptr, lines, goods);
        } else {
            TLTools().StartNewGenerationWhenFull(archivePath);
            ArchiveCopy archive(archivePath, lg_, true, archiveKind, true, std::string());
            CountLines(reader, &archive, lines, goods);
            archive.Close();
        }
        reader.Rewind();
        if (operation_) {
            operation_->SetStageType(TARGO_STAGE_DONE);
            operation_->StartStage(
                expbuftext::Get(lg_, "ufReadFromksactionMsgAdd_00001", "Analiza listy towarów"),
                TARGO_STAGE_PERCENT, lines);
        }
        towary.Reserve(static_cast<int>(
            std::min<long long>(INT_MAX, static_cast<long long>(towary.GetCount()) + goods)));

        platform::Env& os = platform::env();
        std::int64_t last = os.NowMicros();
        std::string_view line;
        for (int i = 0; i < lines && reader.Next(line); ++i) {
            // The clock is asked every few lines only: a line takes about a microsecond.
            if (i % kLinesPerClockCheck == 0) {
                const std::int64_t now = os.NowMicros();
                if (now - last > kPauseIntervalMicros) {
                    last = now;
                    if (operation_) operation_->SetProgress(i);
                    os.SleepMs(20);  // lets the host's window breathe
                }
            }
            try {
                parser.Parse(line);
            } catch (Exception& e) {
                // The runtime's text alone does not say where the file is wrong.
                std::string where = expbuftext::Get(lg_, "ReadFromFileLineNumber", " (wiersz ") +
                                    std::to_string(i + 1);
                if (parser.GoodsField() > 0)
                    where += expbuftext::Get(lg_, "ReadFromFileFieldNumber", ", pole ") +
                             std::to_string(parser.GoodsField());
                e.AppendToMessage(where + ")");
                throw;
            }
        }
        if (operation_) operation_->SetProgress(lines);

        if (sort && towary.GetCount() > 0 && !Sorted) {
            CreateIndex();
            Sort(0, towary.GetCount() - 1);
            Sorted = true;
        }
    } catch (...) {
        if (operation_) operation_->SetStageType(TARGO_STAGE_ERROR);
        throw;
    }
    if (operation_) operation_->SetStageType(TARGO_STAGE_DONE);
}
