// Shared fixture of the settings, name and record tests: a test host with the driver's
// parameters, a DibalCom directory, one operation whose settings a test sets directly, and an
// export buffer of hand-made goods for PrepareGoods.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "plugin/kslibrary.h"
#include "support/test_host.h"

class RecordsTest : public ::testing::Test {
public:
    // A goods to add: sold by the piece, no description texts, no opis2.
    static KSTowRec Goods(int plu, const std::string& kod, const std::string& nazwa = "Ser",
                          long double cena = 1234, int status = stDod) {
        KSTowRec goods;
        goods.plu = plu;
        goods.kod = kod;
        goods.nazwa = nazwa;
        goods.cena = cena;
        goods.status = status;
        return goods;
    }

protected:
    RecordsTest() {
        host.params = {
            {"DibalPodgrupaPLU", ""},   {"DibalSeria", "A"},        {"DibalAdres", "00"},
            {"DibalGrupa", "0"},        {"DibalPort", "0"},         {"DibalBaudRate", "0"},
            {"DibalDataBits", "1"},     {"Pojemnosc", "20479"},     {"PoziomCen", "0"},
            {"DibalPluExact", "1"},     {"DibalPluSendGroup", "1"}, {"DibalAddTextsFrom", "0"},
            {"DibalSendAddData", "1"},  {"DibalSendExpDate", "1"},  {"DibalExitApp", "0"},
            {"DibalKodyKD", "1"},       {"DibalKodPocz", "0"},      {"DibalKodKonc", "0"},
            {"DibalPlZnaki", "0"},      {"DibalKatalogDrv", driver.Path()},
        };
    }
    ~RecordsTest() override {
        if (operation_) Action().ExpBuf = nullptr;
    }

    // The operation, created on first use. Its settings start as a file-only export to a
    // series A scale at address "00" with short codes 1-999999.
    SkalnixAction& Action() {
        if (!operation_) {
            operation_.reset(host.Library()->CreateOperation(host.Context()));
            auto* action = dynamic_cast<SkalnixAction*>(operation_.get());
            if (action == nullptr) throw std::runtime_error("no SkalnixAction");
            action->Settings.Series = "A";
            action->Settings.ScaleAddress = "00";
            action->Settings.WeightedCodeMode = 0;
            action->Settings.ShortCodeFirst = 1;
            action->Settings.ShortCodeLast = 999999;
            action->Settings.SendAddData = true;
            action->Settings.DriverDir = driver.WithSeparator();
            action->Settings.SendGroup = true;
        }
        return dynamic_cast<SkalnixAction&>(*operation_);
    }

    // Runs PrepareGoods over a buffer of `goods`. The capacity and the expiry switch come from
    // the host's parameters, as the export reads them at its start; what PrepareGoods itself
    // asks the host is left in host.parameterQueries.
    void Prepare(const std::vector<KSTowRec>& goods) {
        buffer_ = std::make_unique<KSExpBuf>(&Action());
        for (const KSTowRec& g : goods) buffer_->DodajRec(g);
        Action().ExpBuf = buffer_.get();
        Action().Settings.Capacity = Action().ParamAsInt("Pojemnosc");
        Action().Settings.SendExpiry = Action().ParamAsInt("DibalSendExpDate") != 0;
        host.parameterQueries.clear();
        recordsWritten_ = false;
        Action().PrepareGoods();
        // Without DibalCom the export takes the plan's verdict at once, as Eksport does.
        if (Action().Settings.ConnectionType == 0)
            dibal::ApplyResults(*buffer_, Action().Plan, nullptr);
    }
    KSExpBuf& Buffer() { return *buffer_; }

    // The record file the plan makes, as handed to DibalCom (written once per Prepare).
    std::string RecordText() {
        if (!recordsWritten_) Action().WriteRecordFile();
        recordsWritten_ = true;
        return ReadFile(driver.File("dibal.exp"));
    }

    // The record lines of one prepared goods.
    std::string Lines(const KSTowRec& goods) {
        Prepare({goods});
        return RecordText();
    }

    TestHost host;
    TempDir driver;

private:
    std::unique_ptr<TKSActionBase> operation_;
    std::unique_ptr<KSExpBuf> buffer_;
    bool recordsWritten_ = false;
};

inline std::string Spaces(std::size_t n) { return std::string(n, ' '); }
inline std::string PadRight(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}
