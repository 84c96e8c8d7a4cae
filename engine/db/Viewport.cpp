#include "engine/db/Viewport.h"

#include <algorithm>

#include "engine/db/IdMapping.h"
#include "engine/db/UnknownEntity.h"

namespace cad {

void Viewport::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    for (ObjectId& id : frozen_) id = mapping.translate(id);
}

bool Viewport::isLayerFrozen(ObjectId layer) const {
    return std::find(frozen_.begin(), frozen_.end(), layer) != frozen_.end();
}

void Viewport::freezeLayers(const std::vector<ObjectId>& layers) {
    for (ObjectId id : layers)
        if (id && !isLayerFrozen(id)) frozen_.push_back(id);
    touch();
}

void Viewport::thawLayers(const std::vector<ObjectId>& layers) {
    std::erase_if(frozen_, [&](ObjectId id) { return std::find(layers.begin(), layers.end(), id) != layers.end(); });
    touch();
}

ErrorStatus Viewport::transformBy(const Matrix3d& transform) {
    Vector3d along = transform.transformVector(Vector3d::xAxis());
    Vector3d up = transform.transformVector(Vector3d::yAxis());
    center_ = transform * center_;
    width_ *= along.length();
    height_ *= up.length();
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Viewport::getGeomExtents(Extents3d& extents) const {
    Vector3d half{width_ / 2, height_ / 2, 0};
    extents = Extents3d(center_ - half, center_ + half);
    return ErrorStatus::eOk;
}

void UnknownEntity::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    for (ObjectId& id : children) id = mapping.translate(id);
}

void UnknownEntity::collectOwned(std::vector<ObjectId>& out) const {
    Entity::collectOwned(out);
    out.insert(out.end(), children.begin(), children.end());
}

}  // namespace cad
