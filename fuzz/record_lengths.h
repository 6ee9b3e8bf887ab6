// The length of each DIBAL record line, CR LF included, by its type (the third and fourth
// characters of the line), taken from the record builders themselves.
#pragma once

#include <array>
#include <cstdlib>
#include <map>
#include <string>

#include "dibal/records_layouts.h"

namespace fuzz {

inline const std::map<std::string, std::size_t>& RecordLengths() {
    static const std::map<std::string, std::size_t> lengths = [] {
        dibal::RecordFields f;
        f.address = "00";
        f.pluCode = "000001";
        f.name = "x";
        std::map<std::string, std::size_t> out;
        const auto add = [&out](const std::string& type, bool (*build)(const dibal::RecordFields&,
                                                                        std::string&),
                                const dibal::RecordFields& fields) {
            std::string line;
            if (!build(fields, line)) std::abort();
            out[type] = line.size();
        };
        dibal::RecordFields m = f;
        m.pluCode = "00001";
        add("22", dibal::AppendRecord22, m);
        add("X1", dibal::AppendRecordX1, f);
        add("L2", dibal::AppendRecordL2, f);
        add("L3", dibal::AppendRecordL3, f);
        add("H2", dibal::AppendRecordH2, f);
        add("H3", dibal::AppendRecordH3, f);
        out["L4"] = dibal::L4Block("00", f.pluCode, {}).size() / 5;
        out["H4"] = dibal::H4Block("00", f.pluCode, {}).size() / 3;
        return out;
    }();
    return lengths;
}

}  // namespace fuzz
