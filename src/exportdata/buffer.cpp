// KSExpBuf construction and destruction: the tables and their columns.
#include "exportdata/ksexpbuf.h"
#include "tools/progress.h"

namespace {

struct ColumnDef {
    const char* name;
    TMFieldType type;
};

// The goods table, in KSTowCol order; booleans are integer columns holding 0 or 1.
constexpr ColumnDef kTowaryColumns[kTowColumnCount] = {
    {"plu", ftInteger},           {"koldod", ftInteger},        {"kod", ftString},
    {"cena", ftExtended},         {"cena_hurt", ftExtended},    {"cena_noc", ftExtended},
    {"cena_dod", ftExtended},     {"nazwa", ftString},          {"stawka", ftInteger},
    {"stawka_prec", ftInteger},   {"jedn", ftInteger},          {"czy_wazony", ftInteger},
    {"precyzja", ftInteger},      {"wagowo_ilosciowy", ftInteger}, {"opakowanie", ftInteger},
    {"cena_otwarta", ftInteger},  {"kod_opakowania", ftString}, {"plu_opakowania", ftInteger},
    {"nr_asort", ftInteger},      {"status", ftInteger},        {"nr_buf", ftInteger},
    {"plu_rec", ftString},        {"tr_ok", ftInteger},         {"flag", ftInteger},
    {"add_rec", ftInteger},       {"org_barcode", ftString},    {"org_status", ftInteger},
    {"opis1", ftString},          {"opis2", ftString},          {"PKWiU", ftString},
    {"SWW", ftString},            {"TerminW", ftInteger},       {"fd_nr_src_buf", ftInteger},
    {"fd_from_ecr", ftInteger},   {"fd_tow_z_kontr", ftInteger}, {"opis3", ftString},
    {"opis4", ftString},          {"poziom_cen", ftInteger},    {"ile_w_kodzie", ftInteger},
    {"fd_dod_rabat_tow", ftExtended}, {"nazwa_pelna", ftString}, {"ile_jedn", ftInteger},
};

constexpr ColumnDef kKontrahenciColumns[] = {
    {"KontrId", ftInteger},      {"Nazwa", ftString},         {"Skrot", ftString},
    {"Ulica", ftString},         {"Kod", ftString},           {"Miasto", ftString},
    {"Telefon", ftString},       {"NIP", ftString},           {"KodKarty", ftString},
    {"TermWaznKarty", ftDateTime}, {"KartaAktywna", ftInteger}, {"PoziomRabatu", ftInteger},
    {"RabatOdbiorcy", ftExtended}, {"NrBuf", ftInteger},       {"IloscPunktow", ftInteger},
};

template <size_t N>
void Define(TMDataSet& set, const ColumnDef (&columns)[N]) {
    for (const ColumnDef& c : columns) set.AddField(c.name, c.type);
    set.Open();
}

}  // namespace

KSExpBuf::KSExpBuf(TLProgress* operation)
    : operation_(operation), lg_(operation ? operation->GetLgTools() : nullptr) {
    Define(towary, kTowaryColumns);
    Define(dodinfo, {ColumnDef{"kod", ftString}, ColumnDef{"dodinfo", ftString}});
    Define(index, {ColumnDef{"index", ftInteger}});
    Define(asortymenty, {ColumnDef{"as_asno", ftInteger}, ColumnDef{"as_name", ftString}});
    Define(kontrahenci, kKontrahenciColumns);
}

KSExpBuf::~KSExpBuf() { Clear(); }
