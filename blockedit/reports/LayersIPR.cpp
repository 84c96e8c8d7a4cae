// Layers and the property database: the layers a report leaves on, and the layers a take-off
// records for a drawing.
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/Layer.h"
#include "reports/Layers.h"

void CLayers::getGraphicReportLayersOn(CStoredProcedure& procedure, int graphicReportID, int timeout) {
    procedureWrap(procedure, "Layers.cpp", "CLayers::getGraphicReportLayersOn", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", graphicReportID);
        procedure.setName("__gr_getReportLayersOn");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext()) {
            auto layer = std::make_unique<CLayer>();
            if (!rows->isNull("loName")) layer->setName(rows->getText("loName"));
            if (!rows->isNull("loDescription")) layer->setDescription(rows->getText("loDescription"));
            add(std::move(layer));
        }
        if (rows->isOpen()) rows->close();
    });
}

void CLayers::addLayersToIPR(CStoredProcedure& procedure, int timeout, int attachID) {
    procedureWrap(procedure, "Layers.cpp", "CLayers::addLayersToIPR", [&] {
        for (const auto& layer : items_) layer->addLayerToIPR(procedure, timeout, attachID);
    });
}

void CLayer::addLayerToIPR(CStoredProcedure& procedure, int timeout, int attachID) const {
    procedureWrap(procedure, "Layer.cpp", "CLayer::addLayerToIPR", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addVarChar(list, "@layerName", getName(), 255);
        params::addVarChar(list, "@layerDescription", "", 255);
        params::addTinyInt(list, "@layerColour", static_cast<unsigned char>(getColourIndex()));
        params::addInt(list, "@attachID", attachID);
        procedure.setName("__to_addDrawingLayer");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}
