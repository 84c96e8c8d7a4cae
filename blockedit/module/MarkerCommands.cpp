#include "module/MarkerCommands.h"

#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "host/HostPlatform.h"
#include "module/CommandFrame.h"
#include "module/Preferences.h"
#include "reports/MarkerBlockLegend.h"
#include "reports/MarkerBlockPie.h"
#include "reports/DrawingLockScope.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

struct MarkerKind {
    const char* blockName;
    const char* layer;
    const char* alreadyExists;
    const char* className;
    const char* pickPrompt;
    const char* lockedLayer;
    const char* unableToGet;
    const char* precisionPrompt;
    const char* textSizePrompt;
    const char* rotationPrompt;
    bool mustBeClosed;
};

constexpr MarkerKind kLegend{CMarkerBlockLegend::kBlockName,
                             CMarkerBlockLegend::kLayer,
                             "\n\nLegend Marker Block Already Exists\n",
                             "AcDbPolyline",
                             "\nPlease select a polyline:\n",
                             "\nPolyline On Locked Layer - Legend Block Marker Creation Failed\n",
                             "\nUnable to get Polyline - Error %s - Legend Block Marker Creation Failed\n",
                             "enter legend precision",
                             "enter legend text size",
                             "specify legend rotation (in degrees)",
                             true};

constexpr MarkerKind kPie{CMarkerBlockPie::kBlockName,
                          CMarkerBlockPie::kLayer,
                          "\n\n Pie Chart Marker Block Already Exists\n",
                          "AcDbCircle",
                          "\nPlease select a circle:\n",
                          "\nCircle On Locked Layer - Pie Chart Marker Block Creation Failed\n",
                          "\nUnable to get Circle - Error %s - Pie Chart Marker Block Creation Failed\n",
                          "enter pie chart precision",
                          "enter pie chart text size",
                          "specify pie chart rotation (in degrees)",
                          false};

// Base point, and for the pie the radius, of the picked entity; false when it is not of the kind.
bool measure(const cad::Entity& entity, const MarkerKind& kind, cad::Point3d& base, double& radius) {
    if (entity.className() != kind.className) return false;
    if (const auto* polyline = dynamic_cast<const cad::Polyline*>(&entity)) {
        base = CAcadUtilities::getPolylineTopLeft(*polyline);
        return true;
    }
    if (const auto* circle = dynamic_cast<const cad::Circle*>(&entity)) {
        base = circle->centerWcs();
        radius = circle->radius();
        return true;
    }
    return false;
}

void createMarker(CAcadDrawing& drawing, const CPreferences& preferences, cad::ObjectId id, const MarkerKind& kind) {
    cad::Point3d base;
    double radius = 0.0;
    {
        auto entity = drawing.database().open<cad::Entity>(id);
        if (!entity || !measure(*entity, kind, base, radius)) {
            cad::acutPrintf("\nInvalid Selection\n\n");
            return;
        }
    }
    int precision = 0;
    double textSize = 0.0;
    double degrees = 0.0;
    CAcadUtilities::getInteger(kind.precisionPrompt, preferences.getPrecision(), precision);
    CAcadUtilities::getDouble(kind.textSizePrompt, preferences.getTextSize(), 2, textSize);
    CAcadUtilities::getDouble(kind.rotationPrompt, preferences.getTextRotation(), 2, degrees);
    auto number = [&](double value) { return CUtilities::DoubleToCString(value, precision); };
    std::vector<CMarkerBlock::AttributeRow> rows;
    if (&kind == &kLegend) {
        rows = {{"LEGENDTITLE", "", "LEGEND BLOCK"},
                {"LEGENDTEXTSIZE", "Enter legend text size", number(textSize)},
                {"LEGENDPRECISION", "Enter precision", CUtilities::IntToCString(precision)},
                {"LEGENDROTATION", "Enter Rotation", number(degrees)},
                {"LEGENDUNITS", "Enter legend units", CUtilities::IntToCString(preferences.getUnits())}};
    } else {
        rows = {{"PIETITLE", "", "PIE BLOCK"},
                {"PIETEXTSIZE", "Enter pie text size", number(textSize)},
                {"PIEPRECISION", "Enter precision", CUtilities::IntToCString(precision)},
                {"PIERADIUS", "Enter Radius", number(radius)},
                {"PIEXYOFFSETVALUE", "Enter pie chart offset value", number(500.0)}};
    }
    const int status = CMarkerBlock::createMarker(drawing, id, kind.blockName, kind.layer, base, textSize,
                                                  degrees * kRadiansPerDegree, rows);
    if (status == 0)
        cad::acutPrintf("Block Created Successfully\n");
    else
        cad::acutPrintf("Block Creation Failed - Error Code %s\n", CUtilities::IntToCString(status));
}

void markerCommand(const char* handler, const char* title, const MarkerKind& kind) {
    CCommandFrame frame(handler);
    frame.setTitle(title).setFailureLine("\nUnhandled Error - Marker Block Creation Failed\n").run([&] {
        if (!hostPlatform().isFullHost()) return;
        CAcadDrawing& drawing = frame.own<CAcadDrawing>();
        drawing.bindToActiveDocument();
        if (drawing.database().recordId(cad::TableKind::Block, kind.blockName)) {
            cad::acutPrintf(kind.alreadyExists);
            return;
        }
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        CPreferences preferences;
        preferences.loadPreferences();
        cad::ObjectId id;
        if (CAcadUtilities::selectObjectId(id, kind.pickPrompt, kind.className) != 0) return;
        {
            auto entity = drawing.database().open<cad::Entity>(id, cad::OpenMode::ForWrite);
            if (entity.openStatus() == cad::ErrorStatus::eOnLockedLayer) {
                cad::acutPrintf(kind.lockedLayer);
                return;
            }
            if (!entity) {
                cad::acutPrintf(kind.unableToGet, CUtilities::IntToCString(static_cast<int>(entity.openStatus())));
                return;
            }
            const auto* polyline = dynamic_cast<const cad::Polyline*>(entity.get());
            if (kind.mustBeClosed && polyline != nullptr && !polyline->isClosed()) {
                cad::acutPrintf("\nInvalid Selection - Polyline is not closed\n\n");
                return;
            }
        }
        createMarker(drawing, preferences, id, kind);
    });
}

}  // namespace

void legendMarkerBlockCreate() {
    markerCommand("legendMarkerBlockCreate", "Korva Create Legend Marker Block", kLegend);
}

void pieMarkerBlockCreate() {
    markerCommand("pieMarkerBlockCreate", "Korva Create Pie Chart Marker Block", kPie);
}
