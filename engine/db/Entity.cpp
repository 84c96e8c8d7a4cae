#include "engine/db/Entity.h"

#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/SymbolTable.h"

namespace cad {

ErrorStatus Entity::setLayer(std::string_view name) {
    if (!database()) return ErrorStatus::eNotApplicable;
    ObjectId id = database()->recordId(TableKind::Layer, name);
    if (!id) return ErrorStatus::eKeyNotFound;
    setLayer(id);
    return ErrorStatus::eOk;
}

std::string Entity::layerName() const {
    if (!database()) return {};
    const auto* rec = dynamic_cast<const SymbolTableRecord*>(database()->objectAt(layer_));
    return rec ? rec->name() : std::string{};
}

ErrorStatus Entity::setLinetype(std::string_view name) {
    if (!database()) return ErrorStatus::eNotApplicable;
    ObjectId id = database()->recordId(TableKind::Linetype, name);
    if (!id) return ErrorStatus::eKeyNotFound;
    setLinetype(id);
    return ErrorStatus::eOk;
}

std::string Entity::linetypeName() const {
    if (!linetype_) return "ByLayer";
    if (!database()) return {};
    const auto* rec = dynamic_cast<const SymbolTableRecord*>(database()->objectAt(linetype_));
    return rec ? rec->name() : std::string{};
}

void Entity::setPropertiesFrom(const Entity& other) {
    assign(layer_, other.layer_);
    assign(linetype_, other.linetype_);
    assign(color_, other.color_);
    assign(linetypeScale_, other.linetypeScale_);
    assign(lineWeight_, other.lineWeight_);
    assign(visible_, other.visible_);
}

void Entity::setDatabaseDefaults() {
    if (!layer_ && database()) setLayer(database()->clayer());
}

ObjectId Entity::blockId() const {
    ObjectId owner = ownerId();
    if (!database()) return owner;
    const DbObject* obj = database()->objectAt(owner);
    // Attributes and other sub-entities sit in their parent entity.
    while (obj && obj->isEntity()) {
        owner = obj->ownerId();
        obj = database()->objectAt(owner);
    }
    return owner;
}

ErrorStatus Entity::transformBy(const Matrix3d&) { return ErrorStatus::eNotApplicable; }
ErrorStatus Entity::getGeomExtents(Extents3d&) const { return ErrorStatus::eNotApplicable; }

void Entity::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    layer_ = mapping.translate(layer_);
    linetype_ = mapping.translate(linetype_);
}

}  // namespace cad
