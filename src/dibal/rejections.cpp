#include "dibal/rejections.h"

#include "dibal/catalogue.h"
#include "exportdata/ksexpbuf.h"

namespace dibal {

void AddRejection(std::vector<std::string>& list, const KSTowRec& goods, const char* kodKey,
                  const char* reasonKey, const char* reasonDefault, const std::string& detail) {
    list.push_back("PLU: " + std::to_string(goods.plu) + DriverText(kodKey, "; KOD: ") +
                   goods.kod + DriverText(reasonKey, reasonDefault) + detail);
}

}  // namespace dibal
