// Hyperlinks that a report category gives its space blocks and assets.
#include "data/Hyperlinks.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"

namespace {
void readHyperlinks(CHyperlinks& list, CStoredProcedure& procedure, int timeout, int categoryID,
                    const std::string& handle, const char* name) {
    procedure.setCommandTimeout(timeout);
    CParameters parameters;
    params::addInt(parameters, "@categoryID", categoryID);
    params::addVarChar(parameters, "@handle", handle);
    procedure.setName(name);
    std::unique_ptr<CRecordset> rows;
    {
        CAttachedParameters attached(procedure, parameters);
        rows = procedure.execSPReturnParas();
    }
    for (; !rows->isEOF(); rows->moveNext())
        list.add(std::make_unique<CHyperlink>(rows->getText("bhHref"), rows->getText("bhDescription")));
    if (rows->isOpen()) rows->close();
}
}  // namespace

void CHyperlinks::getBlockHyperlinks(CStoredProcedure& procedure, int timeout, int categoryID,
                                     const std::string& handle) {
    procedureWrap(procedure, "Hyperlinks.cpp", "CHyperlinks::getBlockHyperlinks", [&] {
        readHyperlinks(*this, procedure, timeout, categoryID, handle, "__gr_getBlockHyperlinks");
    });
}

void CHyperlinks::getAssetHyperlinks(CStoredProcedure& procedure, int timeout, int categoryID,
                                     const std::string& handle) {
    procedureWrap(procedure, "Hyperlinks.cpp", "CHyperlinks::getAssetHyperlinks", [&] {
        readHyperlinks(*this, procedure, timeout, categoryID, handle, "__gr_getAssetHyperlinks");
    });
}
