#include "reports/LinkLine.h"

#include <cmath>
#include <memory>

#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "reports/AcadDrawingState.h"
#include "reports/Layer.h"

namespace {

constexpr const char* kFile = __FILE__;

cad::Color red() { return cad::Color::fromRgb(255, 0, 0); }

// The dashed linetype of link lines: a dash of 50 and a gap of 50. One already in the drawing is
// used as it is.
cad::ObjectId linkLinetype(cad::Database& db) {
    auto table = db.open<cad::SymbolTable>(db.linetypeTableId(), cad::OpenMode::ForWrite);
    if (!table) return {};
    if (const cad::ObjectId existing = table->getAt(CLinkLine::kLinetype); !existing.isNull()) return existing;
    auto linetype = std::make_unique<cad::LinetypeTableRecord>(CLinkLine::kLinetype);
    cad::LinetypeTableRecord::Dash dash;
    dash.length = 50.0;
    cad::LinetypeTableRecord::Dash gap;
    gap.length = -50.0;
    linetype->setDashes({dash, gap});
    cad::ObjectId id;
    if (table->add(std::move(linetype), &id) != cad::ErrorStatus::eOk) return {};
    return id;
}

}  // namespace

cad::Point3d CLinkLine::getAssetCurrentCoord(CAcadDrawing& drawing, const std::string& handle,
                                             CAcadDrawingState& state) {
    return korvaWrap(kFile, "CLinkLine::getAssetCurrentCoord", [&] {
        cad::Point3d point(0, 0, 0);
        cad::Database& db = drawing.database();
        cad::ObjectId id;
        if (db.getObjectId(id, handle) != cad::ErrorStatus::eOk) return point;
        auto reference = db.open<cad::BlockReference>(id);
        if (!reference) return point;
        point = reference->position();
        if (auto layer = db.open<cad::LayerTableRecord>(reference->layerId()))
            state.setLayerState(layer->name(), 0, 0, 0, 1);
        return point;
    });
}

double CLinkLine::labelRotation(const cad::Point3d& start, const cad::Point3d& end) {
    const double dx = end.x - start.x;
    const double dy = end.y - start.y;
    if (dx == 0.0 && dy == 0.0) return 0.0;
    // The slope's angle: a vertical line's slope is infinite, a quarter turn either way.
    return std::atan(dy / dx);
}

void CLinkLine::applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state) const {
    korvaWrap(kFile, "CLinkLine::applyToDrawing", [&] {
        cad::Database& db = drawing.database();
        const cad::Point3d start = getAssetCurrentCoord(drawing, startHandle_, state);
        const cad::Point3d end = getAssetCurrentCoord(drawing, endHandle_, state);

        std::string layerName = CLayer::validateLayerName(layerName_);
        if (layerName_.empty()) {
            layerName = kDefaultLayer;
            state.setLayerState(layerName, 0, 0, 0, 1);
        }
        CLayer::ensureLayerExists(drawing, layerName);
        const cad::ObjectId layerId = db.recordId(cad::TableKind::Layer, layerName);

        auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(space.openStatus(), drawing.fullName());

        auto line = std::make_unique<cad::Line>(start, end);
        line->setColor(red());
        line->setLineWeight(-1);
        if (const cad::ObjectId linetype = linkLinetype(db); !linetype.isNull()) line->setLinetype(linetype);
        if (!layerId.isNull()) line->setLayer(layerId);
        KORVA_HOST_CHECK(space->appendEntity(std::move(line)), drawing.fullName());

        if (labelText_.empty()) return;
        const cad::Point3d middle(start.x + (end.x - start.x) * 0.5, start.y + (end.y - start.y) * 0.5,
                                  start.z + (end.z - start.z) * 0.5);
        auto label = std::make_unique<cad::Text>();
        label->setDatabaseDefaults();
        label->setVisible(true);
        label->setNormal(CAcadUtilities::userZAxis());
        label->setHeight(kLabelHeight);
        label->setWidthFactor(1.0);
        label->setHorizontalMode(cad::Text::HorizontalMode::Center);
        label->setVerticalMode(cad::Text::VerticalMode::Bottom);
        label->setPosition(middle);
        label->setAlignmentPoint(middle);
        label->setColor(red());
        if (!layerId.isNull()) label->setLayer(layerId);
        label->setTextString(labelText_);
        label->setRotation(labelRotation(start, end));
        KORVA_HOST_CHECK(space->appendEntity(std::move(label)), drawing.fullName());
    });
}

pugi::xml_node CLinkLine::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CLinkLine::serialize", [&] {
        pugi::xml_node node = factory.createNode("linkLine", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("linkStartHandle", startHandle_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("linkEndHandle", endHandle_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("linkLineLayer", layerName_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("linkLineText", labelText_, namespaceURI));
        return node;
    });
}

void CLinkLine::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CLinkLine::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = child.text().get();
            if (name == "linkStartHandle")
                startHandle_ = text;
            else if (name == "linkEndHandle")
                endHandle_ = text;
            else if (name == "linkLineLayer")
                layerName_ = text;
            else if (name == "linkLineText")
                labelText_ = text;
        }
    });
}
