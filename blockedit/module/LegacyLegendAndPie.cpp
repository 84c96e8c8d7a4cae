#include "module/LegacyLegendAndPie.h"

#include <string>

#include "core/KorvaWrap.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "module/Preferences.h"
#include "reports/DrawingLockScope.h"
#include "reports/GraphicReport.h"
#include "reports/LegendTable.h"
#include "reports/PieChart.h"

namespace {

constexpr const char* kFile = "blockEdit.cpp";
constexpr double kDegreesToRadians = 0.017453292519943295;

}  // namespace

void defineLegacyLegendAndPie(CAcadDrawing& drawing, CGraphicReport& report, bool legend, bool pie) {
    korvaWrap(kFile, "defineLegacyLegendAndPie", [&] {
        CPreferences preferences;
        preferences.loadPreferences();
        const int decimals = preferences.getPrecision();
        double textSize = 0.0;
        CAcadUtilities::getDouble("specify text size", preferences.getTextSize(), decimals, textSize);
        double radius = textSize * 10.0;
        if (pie) CAcadUtilities::getDouble("specify pie chart radius", radius, decimals, radius);
        double degrees = 0.0;
        CAcadUtilities::getDouble("specify rotation (in degrees)", preferences.getTextRotation(), decimals, degrees);
        const double rotation = degrees * kDegreesToRadians;
        bool ignoreEmpty = true;
        CAcadUtilities::getBoolean("ignore empty categories and pie chart segments?", true, ignoreEmpty);
        std::string units;
        CAcadUtilities::getString("specify units", preferences.getUnits() == 1 ? "sq.ft." : "sq.m.", units);
        int precision = 0;
        CAcadUtilities::getInteger("specify precision", preferences.getPrecision(), precision);

        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        if (legend) {
            CLegendTable(drawing, textSize, precision, units, ignoreEmpty, report, rotation, std::nullopt);
            cad::acutPrintf("legend definition successfully created.\n");
        }
        if (pie) {
            CPieChart(drawing, report, radius, 0.0, textSize, precision, units, ignoreEmpty, true, true, rotation,
                      std::nullopt);
            cad::acutPrintf("pie chart definition successfully created.\n");
        }
    });
}
