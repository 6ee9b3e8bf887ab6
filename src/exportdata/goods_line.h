// A goods line of the export file read where it lies: the fields of KSTowRec that a line
// gives, its texts as views of the split line, so that reading a large file copies each text
// once, into the goods table.
#pragma once

#include <string_view>

#include "exportdata/ksexpbuf.h"

// Field names as in KSTowRec; the fields a line never sets are constants. The views are valid
// while the line split in the words it was read from is.
struct GoodsLineView {
    GoodsLineView() { ClearAll(); }
    // Every field at the value KSTowRec::Clear gives it.
    void ClearAll();
    // Ready for the next line: only the fields a line may leave unread are cleared. The reading
    // sets every other one, and a line that fails halfway is not appended.
    void Clear() {
        bad_number_field = 0;
        plu_opakowania = 0;
        opis1 = opis2 = opis3 = opis4 = nazwa_pelna = {};
        fd_dod_rabat_tow = 0;
        ile_jedn = 0;
    }

    // What the line gives, by kind.
    int plu, koldod, stawka, stawka_prec, jedn, precyzja, plu_opakowania, nr_asort, status,
        TerminW, poziom_cen, ile_w_kodzie, ile_jedn, org_status, bad_number_field;
    long double cena, cena_hurt, cena_noc, cena_dod, fd_dod_rabat_tow;
    bool czy_wazony, wagowo_ilosciowy, opakowanie, cena_otwarta;
    std::string_view kod, nazwa, kod_opakowania, opis1, opis2, opis3, opis4, PKWiU, SWW,
        nazwa_pelna, org_barcode;

    // What only other readers set.
    static constexpr int nr_buf = -1;
    static constexpr std::string_view plu_rec{};
    static constexpr bool tr_ok = false;
    static constexpr bool flag = false;
    static constexpr bool add_rec = false;
    static constexpr int fd_nr_src_buf = 0;
    static constexpr bool fd_from_ecr = false;
    static constexpr bool fd_tow_z_kontr = false;
};

// The goods line split in `words` read into `rec` by the rules of KSTowRec::FromLine (the same
// code): the same values, the same first error, the same field named by words.LastIndex.
void ReadGoodsLine(TLJWords& words, const TMLgExtTools* lg, GoodsLineView& rec);

// `rec` appended to the goods table as DodajRec appends a KSTowRec: the kept columns, the
// counters, the row number and the bad number field.
void AppendGoods(KSExpBuf& buf, const GoodsLineView& rec);
