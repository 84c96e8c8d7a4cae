#pragma once
#include <memory>
#include <vector>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/Polyline.h"

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

}  // namespace cad::test
