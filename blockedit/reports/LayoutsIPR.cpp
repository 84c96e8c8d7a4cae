// The layouts a take-off records for a drawing in the property database.
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/Layout.h"
#include "reports/Layouts.h"

void CLayouts::addLayoutsToIPR(CStoredProcedure& procedure, int timeout, int attachID) {
    procedureWrap(procedure, "Layouts.cpp", "CLayouts::addLayoutsToIPR", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@attachID", attachID);
        procedure.setName("__to_deleteDrawingLayouts");
        {
            CAttachedParameters attached(procedure, list);
            procedure.execSPNoReturnParas();
        }
        for (const auto& layout : items_) layout->addLayoutToIPR(procedure, timeout, attachID);
    });
}

void CLayout::addLayoutToIPR(CStoredProcedure& procedure, int timeout, int attachID) const {
    procedureWrap(procedure, "Layout.cpp", "CLayout::addLayoutToIPR", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addVarChar(list, "@layoutName", getName(), 255);
        params::addInt(list, "@attachID", attachID);
        procedure.setName("__to_addDrawingLayout");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}
