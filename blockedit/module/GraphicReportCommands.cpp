// magr and mgr: a graphic report file applied to a drawing.
#include <string>
#include <vector>

#include "core/FileUtilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/HostPlatform.h"
#include "module/CommandFrame.h"
#include "module/CommandSupport.h"
#include "module/GraphicReportCommands.h"
#include "module/LegacyLegendAndPie.h"
#include "reports/DrawingLockScope.h"
#include "reports/GraphicReport.h"
#include "spaceblocks/Blocks.h"

namespace {

constexpr char kReportFilter[] = "XML Graphic Reports (*.xml)|*.xml";

int markerCount(CAcadDrawing& drawing, CBlocks::Selector select) {
    std::vector<cad::ObjectId> set;
    if (select(drawing.database(), set) != cad::RTNORM) return 0;
    return static_cast<int>(set.size());
}

// Applies the report and, where the legend and pie chart cannot be drawn at markers, asks for
// them the old way: always on a host that is no full CAD host, else for the kind whose marker is
// missing.
void applyAndDefine(CAcadDrawing& drawing, CGraphicReport& report) {
    CDrawingLockScope lock(drawing);
    if (!lock.locked()) return;
    report.applyToDrawing(drawing);
    cad::printf("graphic report successfully applied.\n");
    if (!hostPlatform().isFullHost()) {
        defineLegacyLegendAndPie(drawing, report, true, true);
        return;
    }
    const bool legendMissing = markerCount(drawing, &CBlocks::getLegendBlockSS) < 1;
    const bool pieMissing = markerCount(drawing, &CBlocks::getPieBlockSS) < 1;
    if (legendMissing || pieMissing) defineLegacyLegendAndPie(drawing, report, legendMissing, pieMissing);
}

// Asks for the report file and reads it; nullptr when the user cancels.
CGraphicReport* chooseReport(CCommandFrame& frame) {
    loadPreferences(frame);
    const std::string file = CFileUtilities::browseForFile(kReportFilter);
    if (file.empty()) return nullptr;
    CGraphicReport& report = frame.own<CGraphicReport>();
    report.deSerialize(file);
    return &report;
}

}  // namespace

void applyGraphicReport() {
    bool chosen = false;
    {
        CCommandFrame frame("applyGraphicReport");
        frame.run([&] {
            CGraphicReport* report = chooseReport(frame);
            if (report == nullptr) return;
            chosen = true;
            applyAndDefine(bindDrawing(frame), *report);
        });
    }
    // After the drawing object and the report are gone.
    if (chosen) cad::printf("\n");
}

void graphicReport() {
    bool chosen = false;
    {
        CCommandFrame frame("graphicReport");
        frame.run([&] {
            CGraphicReport* report = chooseReport(frame);
            if (report == nullptr) return;
            chosen = true;
            CAcadDrawing& drawing =
                frame.own<CAcadDrawing>(report->getDrawingPath(), report->getDrawingFilename());
            drawing.setKeepOpen(true);
            applyAndDefine(drawing, *report);
        });
    }
    if (chosen) cad::printf("\n");
}

namespace {

// mlbd and mpbd: the legend or the pie chart of a report file as a block definition only.
void defineFromReport(const char* handler, const char* title, bool legend, bool pie) {
    CCommandFrame frame(handler);
    frame.setTitle(title).run([&] {
        CGraphicReport* report = chooseReport(frame);
        if (report == nullptr) return;
        CAcadDrawing& drawing = bindDrawing(frame);
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        defineLegacyLegendAndPie(drawing, *report, legend, pie);
    });
}

}  // namespace

void legendBlockDefine() { defineFromReport("legendBlockDefine", "Korva Legend Block Define", true, false); }

void pieBlockDefine() { defineFromReport("pieBlockDefine", "Korva Pie Chart Block Define", false, true); }
