// CGraphicReport and the property database: loading a report, writing its status and layout.
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "host/AcadUtilities.h"
#include "logging/ServerPreferenceZerOda.h"
#include "reports/GraphicReport.h"

void CGraphicReport::getGraphicReport(CStoredProcedure& procedure,
                                      const CServerPreferenceZerOda& serverPreference, int graphicReportID,
                                      int timeout) {
    procedureWrap(procedure, "GraphicReport.cpp", "CGraphicReport::getGraphicReport", [&] {
        setID(graphicReportID);
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", graphicReportID);
        procedure.setName("__gr_getGraphicReport");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        if (!rows->isEOF()) {
            auto text = [&](const char* column, auto&& set) {
                if (!rows->isNull(column)) set(rows->getText(column));
            };
            auto code = [&](const char* column, int (*convert)(int), int& field) {
                if (!rows->isNull(column)) field = convert(rows->getInt(column));
            };
            text("grTitle", [&](std::string v) { setTitle(std::move(v)); });
            text("grDrawingPath", [&](std::string v) { setDrawingPath(std::move(v)); });
            text("grDrawingFilename", [&](std::string v) { setDrawingFilename(std::move(v)); });
            text("grPlotLayout", [&](std::string v) { setPlotLayout(std::move(v)); });
            code("grPlotTypeID", &CAcadUtilities::plotDeviceFromDatabase, plotTypeID_);
            code("grPlotAreaTypeID", &CAcadUtilities::plotAreaFromDatabase, plotAreaTypeID_);
            code("grPlotMediaSizeID", &CAcadUtilities::plotMediaSizeFromDatabase, plotMediaSizeID_);
            code("grPlotScaleTypeID", &CAcadUtilities::plotScaleFromDatabase, plotScaleTypeID_);
            // psqlODBC gives a boolean as "1"/"0", SQL Server a bit as "1"/"0" too.
            if (!rows->isNull("grPlotCentred")) setPlotCentred(rows->getInt("grPlotCentred") != 0 ? 1 : 0);
            if (rows->isNull("grOutputPath") || rows->getText("grOutputPath").empty())
                setOutputPath(serverPreference.getGraphRepOutPath());
            else
                setOutputPath(rows->getText("grOutputPath"));
            text("grOutputFilename", [&](std::string v) { setOutputFilename(std::move(v)); });
            text("grSaveCopyTo", [&](std::string v) { setSaveCopyTo(std::move(v)); });
            text("grXMLOutputTo", [&](std::string v) { setXMLOutputTo(std::move(v)); });
            if (!rows->isNull("grTotalChildAreas")) setTotalChildAreas(rows->getDouble("grTotalChildAreas"));
        }
        if (rows->isOpen()) rows->close();

        const int dbTimeout = serverPreference.getDbTimeout();
        auto categories = std::make_unique<CCategories>();
        categories->getReportCategories(procedure, graphicReportID, dbTimeout);
        setCategories(std::move(categories));
        auto layers = std::make_unique<CLayers>();
        layers->getGraphicReportLayersOn(procedure, graphicReportID, dbTimeout);
        setLayersOn(std::move(layers));
        auto lines = std::make_unique<CLinkLines>();
        lines->getGraphicReportLinkLines(procedure, graphicReportID, dbTimeout);
        setLinkLines(std::move(lines));
    });
}

void CGraphicReport::setGraphicReportStatus(CStoredProcedure& procedure, int timeout, int statusID) {
    procedureWrap(procedure, "GraphicReport.cpp", "CGraphicReport::setGraphicReportStatus", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", getID());
        params::addInt(list, "@statusID", statusID);
        procedure.setName("__gr_setGraphicReportStatus");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}

void CGraphicReport::setGraphicReportLayout(CStoredProcedure& procedure, int timeout,
                                            const std::string& layout) {
    procedureWrap(procedure, "GraphicReport.cpp", "CGraphicReport::setGraphicReportLayout", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", getID());
        params::addVarChar(list, "@layout", layout, 255);
        procedure.setName("__gr_setGraphicReportLayout");
        CAttachedParameters attached(procedure, list);
        procedure.execSPNoReturnParas();
    });
}
