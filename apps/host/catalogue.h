// The driver's parameter catalogue as the host reads it through TargoDLLParametr and
// TargoDLLTekstListyParametru (texts in Windows-1250).
#pragma once

#include <string>
#include <vector>

#include "driver.h"

namespace host {

struct ParameterDef {
    int group = 0;
    int index = 0;
    int type = 0;
    std::string name, description, defaultValue, extra1, extra2;
    int extraInt = 0;
    std::vector<std::string> listTexts;
    std::vector<std::string> translatedListTexts;  // the same list in the chosen language
};

// The parameter groups a host asks for.
constexpr int kParameterGroups[] = {101, 102};

// Reads every parameter of the groups above, with its list texts.
std::vector<ParameterDef> ReadCatalogue(const DriverApi& api);

// A short English name of a parameter type code.
const char* TypeName(int type);

}  // namespace host
