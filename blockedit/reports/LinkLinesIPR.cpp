// Loading a report's link lines from the property database.
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/LinkLines.h"

void CLinkLines::getGraphicReportLinkLines(CStoredProcedure& procedure, int graphicReportID, int timeout) {
    procedureWrap(procedure, "LinkLines.cpp", "CLinkLines::getGraphicReportLinkLines", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", graphicReportID);
        procedure.setName("__gr_getReportLinkLines");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext()) {
            auto line = std::make_unique<CLinkLine>();
            line->setStartHandle(rows->getText("llStartHandle"));  // null reads as ""
            line->setEndHandle(rows->getText("llEndHandle"));
            line->setLayerName(rows->getText("llLayerName"));
            line->setLabelText(rows->getText("llLabelText"));
            add(std::move(line));
        }
        if (rows->isOpen()) rows->close();
    });
}
