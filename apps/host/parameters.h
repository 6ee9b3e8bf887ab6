// The driver parameter values an operation gets: every value the configuration sets, checked
// against what the driver declares for the parameter, and the declared defaults for the rest.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "catalogue.h"
#include "config.h"

namespace host {

struct ParameterValue {
    std::string value;   // Windows-1250, as the driver gets it
    std::string origin;  // "FILE:LINE", "--set", "driver default" or "host default"
};

// The value of every catalogue parameter, by the catalogue's name. A choice named by one of
// its list texts (in the driver's own or the chosen language) becomes that text's position; a
// relative directory becomes absolute. A value the parameter cannot take (an unknown name, a
// choice that is neither a list text nor a position, a number that is no whole number, a text
// longer than the host's buffer or with characters Windows-1250 lacks) is an error naming the
// parameter, where the value came from and what it accepts.
bool ResolveParameters(const std::vector<ParameterDef>& catalogue,
                       const std::vector<ConfiguredValue>& values,
                       std::map<std::string, ParameterValue>& out, std::string& error);

// The default the host uses for a parameter: the declared one, except that a directory whose
// default is a Windows drive path gets a directory of this system on other systems.
ParameterValue DefaultValue(const ParameterDef& def);

// The names of the values of `resolved`, for the driver's parameter callback.
std::map<std::string, std::string> ValuesOnly(
    const std::map<std::string, ParameterValue>& resolved);

}  // namespace host
