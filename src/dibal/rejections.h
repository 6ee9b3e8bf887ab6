// Lines of goods that the scale side does not send, kept in the operation's RejectedList.
#pragma once

#include <string>
#include <vector>

struct KSTowRec;

namespace dibal {

// Appends "PLU: " + plu + the "; KOD: " text of `kodKey` + the goods' code + the reason text of
// `reasonKey` (module "skalnix_dbaction"; the reason begins with a space) + `detail`.
void AddRejection(std::vector<std::string>& list, const KSTowRec& goods, const char* kodKey,
                  const char* reasonKey, const char* reasonDefault,
                  const std::string& detail = std::string());

}  // namespace dibal
