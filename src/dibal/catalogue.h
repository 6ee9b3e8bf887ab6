// The scale driver's answers to the description exports: driver properties, the parameter
// catalogue with its list texts, and the additional function's name.
#pragma once

#include <string>

class TMLgExtTools;

// The language service for the driver's own texts: that of the current library, or none.
const TMLgExtTools* DriverLgTools();
// Text of `key` in module "skalnix_dbaction" through DriverLgTools().
std::string DriverText(const char* key, const char* defaultUtf8);

struct ParameterInfo {
    int type = 0;  // 0: no parameter at this group and index
    std::string name, description, defaultValue, extra1, extra2;
    int extraInt = 0;
};
ParameterInfo ParameterDefinition(int group, int index);
std::string ParameterListText(const std::string& parameterName, int index);

// TargoDLLWlasciwosci: driver property text by index (untrimmed).
std::string DriverProperty(int index);
// TargoDLLSerKasOpisOkna: name of additional window `index`, empty when there is none.
std::string AdditionalWindowName(int index);
