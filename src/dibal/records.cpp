// SkalnixAction::PrepareGoods: turns every goods of the export buffer that belongs on the scale
// into its DIBAL record lines and makes the export's plan of them.
#include <array>
#include <cstdint>
#include <string>

#include "dibal/catalogue.h"
#include "dibal/records_layouts.h"
#include "dibal/rejections.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "platform/platform.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"

namespace {

// The record family of the scale series, chosen once per export.
enum class SeriesKind { M, AK, L, H, Unknown };

SeriesKind KindOf(const std::string& series) {
    if (series == "M") return SeriesKind::M;
    if (series == "A" || series == "K") return SeriesKind::AK;
    if (series == "L" || series == "H") return SeriesKind::L;
    if (series == "H2") return SeriesKind::H;
    return SeriesKind::Unknown;
}

// The record lines of one goods by series, appended to `text` with their number in `lines`.
// False when a number does not fit its field; the goods then gets no lines at all.
bool BuildGoodsLines(SkalnixAction& action, SeriesKind kind, const KSTowRec& goods,
                     dibal::RecordFields& f, std::string& text, int& lines) {
    if (kind == SeriesKind::M) {
        lines = 1;
        return dibal::AppendRecord22(f, text);
    }
    if (kind == SeriesKind::AK) {
        lines = 1;
        return dibal::AppendRecordX1(f, text);
    }
    const bool recordL = kind == SeriesKind::L;
    if (kind == SeriesKind::Unknown) {
        const std::string& series = action.Settings.Series;
        std::string message =
            DriverText("SkalnixAPrepareGExceptio", "Seria wag \"%s\" nie jest obsługiwana");
        // A translation may leave the placeholder out.
        if (const auto at = message.find("%s"); at != std::string::npos)
            message.replace(at, 2, series);
        throw Exception(message);
    }

    // L3/H3 carry label, picture (both 0 above 99), section and expiry; without any of them
    // the line is left out.
    const bool extraLine = (f.label != 0 && f.label <= 99) || (f.picture != 0 && f.picture <= 99) ||
                           f.section != 0 || f.sendExpiry;
    lines = 1;
    if (!(recordL ? dibal::AppendRecordL2(f, text) : dibal::AppendRecordH2(f, text)))
        return false;
    if (extraLine) {
        ++lines;
        if (!(recordL ? dibal::AppendRecordL3(f, text) : dibal::AppendRecordH3(f, text)))
            return false;
    }
    if (action.AppendDescription(goods, f.pluCode, recordL, text)) lines += recordL ? 5 : 3;
    return true;
}

// The fields the preparation reads into the goods record: a whole record has forty of them.
// The prices are read by PriceOf.
KSTowColumns PreparationColumns() {
    KSTowColumns columns;
    for (const int column : {colPlu, colKod, colNazwa, colPrecyzja, colStatus, colTerminW,
                             colOpis1, colOpis2, colOpis3, colOpis4})
        columns.set(static_cast<std::size_t>(column));
    return columns;
}

// A goods' price rounded for its record. Prices are nearly always whole numbers of grosz,
// which the goods table keeps as such: they are taken without the extended type, whose values
// cost more to pass around than the rest of a record's formatting.
dibal::WholePrice PriceOf(const TMDataSet& goods, int row, int column) {
    std::int32_t whole;
    if (goods.GetWholeExtended(row, column, whole)) return dibal::WholePriceOf(whole);
    return dibal::RoundPrice(goods.GetExtended(row, column));
}

}  // namespace

void SkalnixAction::PrepareGoods() {
    const int count = ExpBuf->LiczbaTowarow;
    Plan = dibal::ExportPlan();
    Plan.sent.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    // Nearly every goods is usually sent: the list is made present at once.
    platform::AdviseLargeBlock(Plan.sent.data(), Plan.sent.capacity() * sizeof(Plan.sent[0]));
    Plan.WriteRecordsTo(DriverFile("dibal.exp"));
    // DibalCom's marks are checked against the lines as written; a file-only export never
    // looks at them again.
    const bool keepLines = Settings.ConnectionType != 0;
    TLStageScope stage(this, DriverText("SkalnixAMakePluRMsgAdd", "Przygotowanie towarów:"),
                       stagePercent, count);
    ExpBuf->ResetFlags(false);
    static const KSTowColumns kColumns = PreparationColumns();
    KSTowRec goods;
    std::string text;  // one goods' lines; kept so that its room is reused
    const SeriesKind kind = KindOf(Settings.Series);
    // The fields that are the same for every goods of the export are set once; the others are
    // all set for every goods, and the texts reuse their room.
    dibal::RecordFields f;
    f.address = Settings.ScaleAddress;
    f.group = Settings.ScaleGroup;
    f.sendExpiry = Settings.SendExpiry;
    const int priceColumn = PriceColumnOf(Settings.PriceLevel);
    for (int i = 0; i < count; ++i) {
        SetProgress(i + 1);
        ExpBuf->CzytajRec(i, goods, kColumns);

        // Text in a number field would reach the scale as part of a number or as 0: the goods
        // is not sent and keeps its tr_ok, so the host offers it again once it is mended.
        if (const auto bad = ExpBuf->BadNumberFields.find(goods.nr_buf);
            bad != ExpBuf->BadNumberFields.end()) {
            dibal::AddRejection(RejectedList, goods, "SkalnixAPrepareNstr",
                                "SkalnixAPrepareNstr_00001", " (pole nr ",
                                std::to_string(bad->second) +
                                    DriverText("SkalnixAPrepareNstr_00002", " nie jest liczbą)"));
            continue;
        }

        // Without any template no weighted code can be read. The goods is meant for the scale,
        // so it is kept back with the reason and keeps its tr_ok: reported done it would never
        // be offered again once the templates are configured.
        if (goods.status >= stDod && goods.status <= stUsu && LacksCodeTemplates(goods)) {
            dibal::AddRejection(RejectedList, goods, "SkalnixABrakSzablonuKod",
                                "SkalnixABrakSzablonu",
                                " (brak szablonów kodów ważonych w konfiguracji)");
            continue;
        }

        if (!FormatPluCode(goods, f.pluCode)) {
            Plan.notForScale.push_back(i);
            continue;
        }
        FormatName(goods, f.name);
        const std::array<int, 4> numbers = Opis2Numbers(goods);
        f.key = numbers[0];
        f.label = numbers[1];
        f.picture = numbers[2];
        f.section = numbers[3];
        f.expiry = goods.TerminW;
        f.price = PriceOf(ExpBuf->towary, i, priceColumn);
        f.priceHurt = PriceOf(ExpBuf->towary, i, colCenaHurt);
        f.priceNoc = PriceOf(ExpBuf->towary, i, colCenaNoc);
        f.piece = goods.precyzja == 0 ? 1 : 0;

        // Add, update and price change all write the goods; delete removes it. Nothing is
        // sent for any other status, and its tr_ok stays as read.
        if (goods.status >= stDod && goods.status <= stCen)
            f.action = 'M';
        else if (goods.status == stUsu)
            f.action = 'B';
        else
            continue;

        text.clear();
        int lines = 0;
        if (!BuildGoodsLines(*this, kind, goods, f, text, lines)) {
            // A shifted field would corrupt the record for the scale: the goods is not sent
            // and keeps its tr_ok, so it is not reported as sent.
            dibal::AddRejection(RejectedList, goods, "SkalnixAPrepareGstr",
                                "SkalnixAPrepareGstr_00001",
                                " (wartość nie mieści się w polu rekordu wagi)");
            continue;
        }

        ++Plan.SentCounter;
        if (Settings.Capacity < Plan.SentCounter) {
            dibal::AddRejection(RejectedList, goods, "ePluRerror_loAddIntToStr",
                                "PluRerror_loAddtowreckod", " (towar nie zmieści się w wadze)");
            continue;
        }
        Plan.ProgressUnits += lines;
        // The goods' record text is the one field that changed since the row was read, so it
        // alone is written back: the row ends as writing back the whole record would leave it.
        if (keepLines) {
            ExpBuf->towary.SetPosition(i);
            ExpBuf->towary.SetText(i, colPluRec, text);
        }
        Plan.AddSent(i, text, Settings.Series);
    }
}
