#include "data/ModuleDetails.h"

#include <ctime>

#include "core/ModuleInfo.h"
#include "data/DataWrap.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"

CModuleDetails::CModuleDetails()
    : moduleName_("ZDK"),
      moduleDescription_(kModuleDescription),
      moduleDate_(parseBuildDate(kBuildDate)),
      moduleVersion_(kModuleVersion) {}

CDateTime CModuleDetails::parseBuildDate(const std::string& text) {
    std::tm parts{};
    const char* end = strptime(text.c_str(), "%b %d %Y", &parts);
    if (end == nullptr || *end != '\0') return {};
    return CDateTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, 0, 0, 0);
}

void CModuleDetails::setModDetails(const std::string& dataSource, const std::string& userID,
                                   const std::string& password, int timeout) {
    dataWrap(__FILE__, "CModuleDetails::setModDetails", [&] {
        CStoredProcedure procedure(dataSource, kCatalog, userID, password, timeout);
        {
            CParameters list;
            params::addVarChar(list, "@moduleName", moduleName_, 12);
            params::addVarChar(list, "@moduleDescription", moduleDescription_, 255);
            params::addChar(list, "@moduleVersion", moduleVersion_, 8);
            params::addDateTime(list, "@moduleDate", moduleDate_);
            procedure.setName("__mod_setModDetails");
            CAttachedParameters attached(procedure, list);
            procedure.execSPNoReturnParas();
        }
    });
}

void CModuleDetails::setModuleRunning(const std::string& dataSource, const std::string& userID,
                                      const std::string& password, int timeout) {
    dataWrap(__FILE__, "CModuleDetails::setModuleRunning", [&] {
        CStoredProcedure procedure(dataSource, kCatalog, userID, password, timeout);
        {
            CParameters list;
            params::addVarChar(list, "@MODNAME", moduleName_, 12);
            procedure.setName("__mod_setModRunning");
            CAttachedParameters attached(procedure, list);
            procedure.execSPNoReturnParas();
        }
    });
}
