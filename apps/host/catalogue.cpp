#include "catalogue.h"

#include <cstring>

namespace host {
namespace {

// Upper bounds that keep a misbehaving driver from looping the host forever.
constexpr int kMaxParameters = 1000;
constexpr int kMaxListTexts = 1000;

std::string FromBuffer(const char (&buf)[TARGODLL_BUFSIZE]) {
    return std::string(buf, strnlen(buf, TARGODLL_BUFSIZE - 1));
}

}  // namespace

std::vector<ParameterDef> ReadCatalogue(const DriverApi& api) {
    std::vector<ParameterDef> out;
    for (int group : kParameterGroups) {
        for (int index = 0; index < kMaxParameters; ++index) {
            char name[TARGODLL_BUFSIZE] = {}, desc[TARGODLL_BUFSIZE] = {},
                 def[TARGODLL_BUFSIZE] = {}, e1[TARGODLL_BUFSIZE] = {},
                 e2[TARGODLL_BUFSIZE] = {};
            int extraInt = 0;
            const int type = api.Parametr(group, index, name, desc, def, e1, e2, &extraInt);
            if (type == 0) break;
            ParameterDef p{group, index, type, FromBuffer(name), FromBuffer(desc),
                           FromBuffer(def), FromBuffer(e1), FromBuffer(e2), extraInt, {}, {}};
            for (int item = 0; item < kMaxListTexts; ++item) {
                char text[TARGODLL_BUFSIZE] = {};
                if (!api.TekstListyParametru(p.name.c_str(), item, text)) break;
                p.listTexts.push_back(FromBuffer(text));
            }
            out.push_back(std::move(p));
        }
    }
    return out;
}

const char* TypeName(int type) {
    switch (type) {
        case 1: return "text";
        case 2: return "text with offered values";
        case 4: return "number";
        case 6: return "directory";
        case 7: return "choice";
        default: return "other";
    }
}

}  // namespace host
