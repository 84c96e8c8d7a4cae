#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Polyline.h"
#include "engine/db/SymbolTable.h"

namespace cad::test {

inline BlockTableRecord& modelSpace(Database& db) {
    return *static_cast<BlockTableRecord*>(db.objectAt(db.modelSpaceId()));
}

template <class T>
ObjectId append(Database& db, std::unique_ptr<T> entity, ObjectId block = {}) {
    if (!block) block = db.modelSpaceId();
    auto* record = static_cast<BlockTableRecord*>(db.objectAt(block));
    ObjectId id;
    std::unique_ptr<Entity> base = std::move(entity);
    EXPECT_EQ(record->appendEntity(std::move(base), &id), ErrorStatus::eOk);
    return id;
}

inline std::unique_ptr<Polyline> rectangle(double x0, double y0, double x1, double y1) {
    auto pl = std::make_unique<Polyline>();
    pl->addVertexAt(0, {x0, y0});
    pl->addVertexAt(1, {x1, y0});
    pl->addVertexAt(2, {x1, y1});
    pl->addVertexAt(3, {x0, y1});
    pl->setClosed(true);
    return pl;
}

inline ObjectId addLayer(Database& db, const std::string& name, int color) {
    auto* layers = static_cast<SymbolTable*>(db.objectAt(db.layerTableId()));
    auto layer = std::make_unique<LayerTableRecord>(name);
    layer->setColor(Color::fromIndex(color));
    ObjectId id;
    EXPECT_EQ(layers->add(std::move(layer), &id), ErrorStatus::eOk);
    return id;
}

inline ObjectId addBlockRecord(Database& db, const std::string& name) {
    auto* blocks = static_cast<SymbolTable*>(db.objectAt(db.blockTableId()));
    ObjectId id;
    EXPECT_EQ(blocks->add(std::make_unique<BlockTableRecord>(name), &id), ErrorStatus::eOk);
    return id;
}

}  // namespace cad::test
