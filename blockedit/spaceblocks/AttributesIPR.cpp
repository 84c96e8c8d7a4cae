// The database side of asset attributes.
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "spaceblocks/Attributes.h"

void CAttribute::applyToIPR(CStoredProcedure& procedure, int drawingID, const std::string& handle,
                            int timeout) const {
    procedureWrap(procedure, "Attribute.cpp", "CAttribute::applyToIPR", [&] {
        CParameters list;
        params::addInt(list, "@drawingID", drawingID);
        params::addVarChar(list, "@handle", handle);
        params::addVarChar(list, "@tag", getTag());
        params::addVarChar(list, "@value", getValue());
        params::addBoolean(list, "@exists", getExists());
        procedure.setCommandTimeout(timeout);
        procedure.setName("__to_applyAssetAttributeToIPR");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}

void CAttributes::applyToIPR(CStoredProcedure& procedure, int drawingID, const std::string& handle,
                             int timeout) const {
    procedureWrap(procedure, "Attributes.cpp", "CAttributes::applyToIPR", [&] {
        for (std::size_t i = 0; i < getCount(); ++i) getAt(i).applyToIPR(procedure, drawingID, handle, timeout);
    });
}

void CAttributes::getAssetAttributes(CStoredProcedure& procedure, int drawingID, const std::string& handle,
                                     int timeout) {
    procedureWrap(procedure, "Attributes.cpp", "CAttributes::getAssetAttributes", [&] {
        CParameters list;
        params::addInt(list, "@drawingID", drawingID);
        params::addVarChar(list, "@handle", handle, 50);
        procedure.setCommandTimeout(timeout);
        procedure.setName("[idr]..[getAssetAttributes]");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext())
            add(std::make_unique<CAttribute>(rows->getText("aTag"), rows->getText("aValue"), std::string(), 1), true);
        if (rows->isOpen()) rows->close();
    });
}
