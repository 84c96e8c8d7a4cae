#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"

// Builds small drawings holding space blocks the way the creation command lays them out.
namespace spacetest {

inline std::vector<cad::Point2d> rectangle(double x0, double y0, double x1, double y1) {
    return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
}

inline std::unique_ptr<cad::Polyline> closedPolyline(const std::vector<cad::Point2d>& points) {
    auto polyline = std::make_unique<cad::Polyline>();
    for (std::size_t i = 0; i < points.size(); ++i) polyline->addVertexAt(i, points[i]);
    polyline->setClosed(true);
    return polyline;
}

inline cad::ObjectId addEntity(cad::Database& db, cad::ObjectId block, std::unique_ptr<cad::Entity> entity) {
    auto record = db.open<cad::BlockTableRecord>(block, cad::OpenMode::ForWrite);
    cad::ObjectId id;
    EXPECT_EQ(record->appendEntity(std::move(entity), &id), cad::ErrorStatus::eOk);
    return id;
}

inline cad::ObjectId addPolyline(cad::Database& db, const std::vector<cad::Point2d>& points,
                                 cad::ObjectId owner = {}) {
    return addEntity(db, owner.isNull() ? db.modelSpaceId() : owner, closedPolyline(points));
}

inline void ensureLayer(cad::Database& db, const std::string& name) {
    if (db.recordId(cad::TableKind::Layer, name)) return;
    auto table = db.open<cad::SymbolTable>(db.layerTableId(), cad::OpenMode::ForWrite);
    EXPECT_EQ(table->add(std::make_unique<cad::LayerTableRecord>(name)), cad::ErrorStatus::eOk);
}

struct AttributeValue {
    std::string tag;
    std::string value;
};

// A block definition holding the outline, and a reference to it at `position` whose attributes
// stand at `areaPosition` (the other two 375 units above and below).
inline cad::ObjectId addSpaceBlock(cad::Database& db, const std::string& blockName,
                                   const std::vector<cad::Point2d>& outline,
                                   const std::vector<AttributeValue>& attributes,
                                   const cad::Point3d& position = {}, const cad::Vector3d& scale = {1, 1, 1},
                                   const cad::Point3d& areaPosition = {1000, 2000, 0}) {
    cad::ObjectId blockId;
    {
        auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
        EXPECT_EQ(table->add(std::make_unique<cad::BlockTableRecord>(blockName), &blockId),
                  cad::ErrorStatus::eOk);
    }
    addEntity(db, blockId, closedPolyline(outline));
    auto reference = std::make_unique<cad::BlockReference>(position, blockId);
    reference->setScaleFactors(scale);
    const cad::ObjectId referenceId = addEntity(db, db.modelSpaceId(), std::move(reference));
    auto opened = db.open<cad::BlockReference>(referenceId, cad::OpenMode::ForWrite);
    double offset = 375;
    for (const AttributeValue& given : attributes) {
        auto attribute = std::make_unique<cad::Attribute>();
        attribute->setTag(given.tag);
        attribute->setTextString(given.value);
        attribute->setHeight(250);
        const std::string layer = "ATT-" + given.tag;
        ensureLayer(db, layer);
        attribute->setLayer(db.recordId(cad::TableKind::Layer, layer));
        attribute->setPosition({areaPosition.x, areaPosition.y + offset, 0});
        offset -= 375;
        EXPECT_EQ(opened->appendAttribute(std::move(attribute)), cad::ErrorStatus::eOk);
    }
    return referenceId;
}

inline std::vector<AttributeValue> standardAttributes(const std::string& name = "Office 1",
                                                     const std::string& area = "50.00 sq.m.",
                                                     const std::string& aux = "Aux") {
    return {{"NAME", name}, {"AREA", area}, {"AUX", aux}};
}

}  // namespace spacetest
