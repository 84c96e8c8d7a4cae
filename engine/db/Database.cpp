#include "engine/db/Database.h"

#include <algorithm>

#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/SortentsTable.h"
#include "engine/db/SymbolName.h"
#include "engine/db/SymbolTable.h"
#include "engine/geometry/CoordinateSystem.h"
#include "engine/hatch/HatchPatternLibrary.h"

namespace cad {

Database::Database() { slots_.resize(1); }
Database::~Database() = default;

Database::Slot* Database::slotOf(ObjectId id) {
    return (id.isNull() || id.index() >= slots_.size()) ? nullptr : &slots_[id.index()];
}

const Database::Slot* Database::slotOf(ObjectId id) const {
    return (id.isNull() || id.index() >= slots_.size()) ? nullptr : &slots_[id.index()];
}

ErrorStatus Database::addObjectBase(std::unique_ptr<DbObject>& object, ObjectId owner, Handle handle,
                                    ObjectId* outId) {
    if (!object) return ErrorStatus::eInvalidInput;
    if (object->db_) return ErrorStatus::eInvalidInput;
    if (handle.isNull()) handle = Handle(nextHandle_);
    std::uint32_t index = byHandle_.find(handle);
    if (index != HandleIndex::kNone) {
        if (slots_[index].object) return ErrorStatus::eHandleInUse;
    } else {
        index = static_cast<std::uint32_t>(slots_.size());
        slots_.push_back({nullptr, handle});
        byHandle_.insert(handle, index);
    }
    nextHandle_ = std::max(nextHandle_, handle.value() + 1);
    object->db_ = this;
    object->id_ = ObjectId(index);
    object->handle_ = handle;
    object->owner_ = owner;
    slots_[index].object = std::move(object);
    noteChange(*slots_[index].object);
    if (outId) *outId = ObjectId(index);
    return ErrorStatus::eOk;
}

ObjectId Database::reserveId(Handle handle) {
    if (handle.isNull()) return {};
    if (std::uint32_t existing = byHandle_.find(handle); existing != HandleIndex::kNone) return ObjectId(existing);
    auto index = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back({nullptr, handle});
    byHandle_.insert(handle, index);
    nextHandle_ = std::max(nextHandle_, handle.value() + 1);
    return ObjectId(index);
}

ErrorStatus Database::getObjectId(ObjectId& out, Handle handle, bool includeErased) const {
    out = {};
    std::uint32_t index = byHandle_.find(handle);
    if (index == HandleIndex::kNone) return ErrorStatus::eWasErased;
    const DbObject* obj = slots_[index].object.get();
    if (!obj || (obj->isErased() && !includeErased)) return ErrorStatus::eWasErased;
    out = ObjectId(index);
    return ErrorStatus::eOk;
}

ErrorStatus Database::getObjectId(ObjectId& out, std::string_view handleText) const {
    out = {};
    auto handle = Handle::parse(handleText);
    if (!handle) return ErrorStatus::eInvalidHandle;
    return getObjectId(out, *handle);
}

Handle Database::handleOf(ObjectId id) const {
    const Slot* slot = slotOf(id);
    return slot ? slot->handle : Handle{};
}

DbObject* Database::objectAt(ObjectId id) const {
    const Slot* slot = slotOf(id);
    return slot ? slot->object.get() : nullptr;
}

void Database::setHandseed(Handle seed) { nextHandle_ = std::max(nextHandle_, seed.value()); }

void Database::clearModifiedFlags() {
    for (Slot& slot : slots_)
        if (slot.object) slot.object->setModified(false);
}

ErrorStatus Database::openRaw(DbObject*& out, ObjectId id, OpenMode mode, bool openErased) {
    out = nullptr;
    if (id.isNull()) return ErrorStatus::eNullObjectId;
    DbObject* obj = objectAt(id);
    if (!obj || (obj->isErased() && !openErased)) return ErrorStatus::eWasErased;
    if (mode == OpenMode::ForWrite && obj->isEntity()) {
        const auto* layer = dynamic_cast<const LayerTableRecord*>(objectAt(static_cast<Entity*>(obj)->layerId()));
        if (layer && layer->isLocked()) return ErrorStatus::eOnLockedLayer;
    }
    // Opening for write changes nothing: every setter notes its own change, and only when the
    // value differs, so that an object set to what it holds is still written from its source.
    out = obj;
    return ErrorStatus::eOk;
}

void Database::eraseTree(ObjectId id, bool erasing) {
    DbObject* obj = objectAt(id);
    if (!obj) return;
    if (obj->isErased() == erasing) {
        // Already in the wanted state: its children were handled with it.
        if (erasing) return;
    }
    obj->flags_ = static_cast<std::uint8_t>(erasing ? obj->flags_ | DbObject::kErased : obj->flags_ & ~DbObject::kErased);
    obj->touch();
    std::vector<ObjectId> owned;
    obj->collectOwned(owned);
    for (ObjectId child : owned)
        if (child != id) eraseTree(child, erasing);
}

ErrorStatus Database::erase(ObjectId id, bool erasing) {
    if (id.isNull()) return ErrorStatus::eNullObjectId;
    DbObject* obj = objectAt(id);
    if (!obj) return ErrorStatus::eWasErased;
    if (erasing && obj->isErased()) return ErrorStatus::eWasErased;
    if (!erasing && !obj->isErased()) return ErrorStatus::eOk;
    if (erasing) {
        bool protectedObject = id == namedObjects_ || obj->kind() == ObjectKind::SymbolTable;
        if (const auto* block = dynamic_cast<const BlockTableRecord*>(obj))
            protectedObject |= block->isModelSpace() || symbolNamesEqual(block->name(), "*Paper_Space");
        if (const auto* layer = dynamic_cast<const LayerTableRecord*>(obj))
            protectedObject |= layer->name() == "0" || id == clayer();
        if (protectedObject) return ErrorStatus::eCannotBeErasedByCaller;
    }
    eraseTree(id, erasing);
    ++edits_;
    return ErrorStatus::eOk;
}

ErrorStatus Database::createExtensionDictionary(ObjectId id) {
    DbObject* obj = objectAt(id);
    if (!obj || obj->isErased()) return ErrorStatus::eWasErased;
    if (const DbObject* existing = objectAt(obj->extensionDictionary()); existing && !existing->isErased())
        return ErrorStatus::eOk;
    auto dict = std::make_unique<Dictionary>();
    dict->setHardOwner(true);
    dict->addReactor(id);
    ObjectId dictId;
    ErrorStatus es = addObject(std::move(dict), id, {}, &dictId);
    if (es != ErrorStatus::eOk) return es;
    obj->setExtensionDictionary(dictId);
    return ErrorStatus::eOk;
}

ObjectId Database::recordId(TableKind kind, std::string_view name) const {
    const auto* table = dynamic_cast<const SymbolTable*>(objectAt(tableId(kind)));
    return table ? table->getAt(name) : ObjectId{};
}

ObjectId Database::modelSpaceId() const { return recordId(TableKind::Block, "*Model_Space"); }
ObjectId Database::paperSpaceId() const { return recordId(TableKind::Block, "*Paper_Space"); }

ObjectId Database::namedObject(std::string_view key) const {
    const auto* nod = dynamic_cast<const Dictionary*>(objectAt(namedObjects_));
    return nod ? nod->getAt(key) : ObjectId{};
}

ErrorStatus Database::registerApplication(std::string_view name, ObjectId* outId) {
    if (!isValidSymbolName(name) || name.size() > 31 || name.find(' ') != std::string_view::npos)
        return ErrorStatus::eInvalidSymbolTableName;
    auto* table = dynamic_cast<SymbolTable*>(objectAt(regAppTableId()));
    if (!table) return ErrorStatus::eNotInitialized;
    if (ObjectId existing = table->getAt(name)) {
        if (outId) *outId = existing;
        return ErrorStatus::eOk;
    }
    return table->add(std::make_unique<RegAppTableRecord>(name), outId);
}

bool Database::isApplicationRegistered(std::string_view name) const {
    return !recordId(TableKind::RegApp, name).isNull();
}

int Database::lunits() const { return static_cast<int>(header_.getInt("$LUNITS").value_or(2)); }
void Database::setLunits(int value) { header_.setInt("$LUNITS", 70, value); }
int Database::insunits() const { return static_cast<int>(header_.getInt("$INSUNITS").value_or(0)); }
void Database::setInsunits(int value) { header_.setInt("$INSUNITS", 70, value); }

ObjectId Database::clayer() const {
    if (auto name = header_.getString("$CLAYER"))
        if (ObjectId id = recordId(TableKind::Layer, *name)) return id;
    return recordId(TableKind::Layer, "0");
}

ErrorStatus Database::setClayer(ObjectId layer) {
    const auto* record = dynamic_cast<const LayerTableRecord*>(objectAt(layer));
    if (!record) return ErrorStatus::eWrongObjectType;
    if (record->isErased()) return ErrorStatus::eWasErased;
    header_.setString("$CLAYER", 8, record->name());
    return ErrorStatus::eOk;
}

Point3d Database::ucsOrigin() const { return header_.getPoint("$UCSORG").value_or(Point3d{}); }
Vector3d Database::ucsXDir() const {
    return header_.getPoint("$UCSXDIR").value_or(Point3d{1, 0, 0}).asVector();
}
Vector3d Database::ucsYDir() const {
    return header_.getPoint("$UCSYDIR").value_or(Point3d{0, 1, 0}).asVector();
}

void Database::setUcs(const Point3d& origin, const Vector3d& xDir, const Vector3d& yDir) {
    header_.setPoint("$UCSORG", origin);
    header_.setPoint("$UCSXDIR", Point3d{xDir.x, xDir.y, xDir.z});
    header_.setPoint("$UCSYDIR", Point3d{yDir.x, yDir.y, yDir.z});
}

Matrix3d Database::ucsToWcs() const {
    return CoordinateSystem(ucsOrigin(), ucsXDir(), ucsYDir()).toWorldMatrix();
}

void Database::noteChange(const DbObject& object) {
    ++edits_;
    const bool entity = object.isEntity();
    if (!entity && object.kind() != ObjectKind::LayerTableRecord && object.kind() != ObjectKind::BlockTableRecord)
        return;
    ++revision_;
    ExtentsCache& cache = extentsCache_;
    if (!cache.valid || cache.whole) return;
    if (!entity) {
        cache.whole = true;
        return;
    }
    // An entity of the block measured, or an attribute of one of its references, is measured
    // again alone; anything else may change what every reference shows.
    const ObjectId owner = object.ownerId();
    const DbObject* parent = objectAt(owner);
    if (owner == cache.block) cache.changed.push_back(object.objectId());
    else if (parent && parent->kind() == ObjectKind::BlockReference && parent->ownerId() == cache.block)
        cache.changed.push_back(owner);
    else cache.whole = true;
    if (cache.changed.size() > cache.boxes.size() / 2 + 64) cache.whole = true;
}

Extents3d Database::entityExtents(const Entity& entity, BlockExtentsCache& definitions) const {
    Extents3d box;
    if (entity.isErased() || !entity.isVisible()) return box;
    const auto* layer = dynamic_cast<const LayerTableRecord*>(objectAt(entity.layerId()));
    if (layer && layer->isFrozen()) return box;
    const ErrorStatus es = entity.kind() == ObjectKind::BlockReference
                               ? static_cast<const BlockReference&>(entity).getGeomExtents(box, definitions)
                               : entity.getGeomExtents(box);
    return es == ErrorStatus::eOk ? box : Extents3d();
}

Extents3d Database::computeExtents(ObjectId blockId) const {
    if (blockId.isNull()) blockId = modelSpaceId();
    const auto* block = dynamic_cast<const BlockTableRecord*>(objectAt(blockId));
    if (!block) return {};
    ExtentsCache& cache = extentsCache_;
    auto byId = [](const std::pair<ObjectId, Extents3d>& a, const std::pair<ObjectId, Extents3d>& b) {
        return a.first.index() < b.first.index();
    };
    if (!cache.valid || cache.whole || cache.block != blockId) {
        cache.boxes.clear();
        cache.definitions.clear();
        for (ObjectId id : block->entityIds())
            if (const auto* entity = dynamic_cast<const Entity*>(objectAt(id)))
                cache.boxes.emplace_back(id, entityExtents(*entity, cache.definitions));
        std::sort(cache.boxes.begin(), cache.boxes.end(), byId);
        cache.block = blockId;
        cache.valid = true;
        cache.whole = false;
    } else {
        std::sort(cache.changed.begin(), cache.changed.end(),
                  [](ObjectId a, ObjectId b) { return a.index() < b.index(); });
        cache.changed.erase(std::unique(cache.changed.begin(), cache.changed.end()), cache.changed.end());
        for (ObjectId id : cache.changed) {
            const auto* entity = dynamic_cast<const Entity*>(objectAt(id));
            Extents3d box = entity && entity->ownerId() == blockId ? entityExtents(*entity, cache.definitions)
                                                                   : Extents3d();
            const std::pair<ObjectId, Extents3d> entry{id, box};
            auto at = std::lower_bound(cache.boxes.begin(), cache.boxes.end(), entry, byId);
            if (at != cache.boxes.end() && at->first == id) at->second = box;
            else cache.boxes.insert(at, entry);
        }
    }
    cache.changed.clear();
    Extents3d result;
    for (const auto& [id, box] : cache.boxes)
        if (!box.isEmpty()) result.addExtents(box);
    return result;
}

void Database::updateExtents() {
    Extents3d box = computeExtents();
    if (box.isEmpty()) {
        header_.setPoint("$EXTMIN", {1e20, 1e20, 1e20});
        header_.setPoint("$EXTMAX", {-1e20, -1e20, -1e20});
    } else {
        header_.setPoint("$EXTMIN", box.minPoint());
        header_.setPoint("$EXTMAX", box.maxPoint());
    }
}

HatchPatternLibrary& Database::hatchPatterns() const {
    if (!patterns_) {
        bool metric = header_.getInt("$MEASUREMENT").value_or(0) == 1;
        patterns_ = std::make_unique<HatchPatternLibrary>(metric ? PatternUnits::Metric : PatternUnits::Imperial);
    }
    return *patterns_;
}

std::vector<ObjectId> Database::layouts() const {
    std::vector<std::pair<int, ObjectId>> ordered;
    if (const auto* dict = dynamic_cast<const Dictionary*>(objectAt(namedObject("ACAD_LAYOUT")))) {
        for (const Dictionary::Entry& e : dict->entries()) {
            const auto* layout = dynamic_cast<const Layout*>(objectAt(e.id));
            if (layout && !layout->isErased()) ordered.emplace_back(layout->tabOrder(), e.id);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ObjectId> ids;
    for (const auto& o : ordered) ids.push_back(o.second);
    return ids;
}

ObjectId Database::layoutId(std::string_view name) const {
    for (ObjectId id : layouts())
        if (symbolNamesEqual(static_cast<const Layout*>(objectAt(id))->layoutName(), name)) return id;
    return {};
}

std::string Database::currentLayout() const {
    if (header_.getInt("$TILEMODE").value_or(1) != 0) return "Model";
    const ObjectId paper = paperSpaceId();
    for (ObjectId id : layouts()) {
        const auto* layout = static_cast<const Layout*>(objectAt(id));
        if (!layout->isModelLayout() && layout->blockTableRecordId() == paper) return layout->layoutName();
    }
    return "Model";
}

ErrorStatus Database::setCurrentLayout(std::string_view name) {
    ObjectId id = layoutId(name);
    if (!id) return ErrorStatus::eKeyNotFound;
    const auto* layout = static_cast<const Layout*>(objectAt(id));
    if (!layout->isModelLayout()) {
        auto* wanted = dynamic_cast<BlockTableRecord*>(objectAt(layout->blockTableRecordId()));
        auto* active = dynamic_cast<BlockTableRecord*>(objectAt(paperSpaceId()));
        if (wanted && active && wanted != active) {
            const std::string wantedName = wanted->name();
            // The two names change hands by way of a name neither holds.
            if (ErrorStatus es = active->setName("*Paper_Space_swap"); es != ErrorStatus::eOk) return es;
            if (ErrorStatus es = wanted->setName("*Paper_Space"); es != ErrorStatus::eOk) {
                active->setName("*Paper_Space");
                return es;
            }
            active->setName(wantedName);
            noteChange();
        }
    }
    header_.setInt("$TILEMODE", 70, layout->isModelLayout() ? 1 : 0);
    return ErrorStatus::eOk;
}

ErrorStatus Database::getSortentsTable(ObjectId blockId, ObjectId& out, bool create) {
    out = {};
    auto* block = dynamic_cast<BlockTableRecord*>(objectAt(blockId));
    if (!block) return ErrorStatus::eWrongObjectType;
    if (block->isErased()) return ErrorStatus::eWasErased;
    auto* xdict = dynamic_cast<Dictionary*>(objectAt(block->extensionDictionary()));
    if (xdict && xdict->isErased()) xdict = nullptr;
    if (!xdict) {
        if (!create) return ErrorStatus::eKeyNotFound;
        if (ErrorStatus es = createExtensionDictionary(blockId); es != ErrorStatus::eOk) return es;
        xdict = dynamic_cast<Dictionary*>(objectAt(block->extensionDictionary()));
        if (!xdict) return ErrorStatus::eNotApplicable;
    }
    ObjectId existing = xdict->getAt("ACAD_SORTENTS");
    if (existing) {
        if (!dynamic_cast<SortentsTable*>(objectAt(existing))) return ErrorStatus::eWrongObjectType;
        out = existing;
        return ErrorStatus::eOk;
    }
    if (!create) return ErrorStatus::eKeyNotFound;
    auto table = std::make_unique<SortentsTable>();
    table->setBlockId(blockId);
    return xdict->setAt("ACAD_SORTENTS", std::move(table), &out);
}

std::vector<ObjectId> Database::drawOrder(ObjectId blockId) const {
    const auto* block = dynamic_cast<const BlockTableRecord*>(objectAt(blockId));
    if (!block) return {};
    if (const auto* xdict = dynamic_cast<const Dictionary*>(objectAt(block->extensionDictionary())))
        if (const auto* table = dynamic_cast<const SortentsTable*>(objectAt(xdict->getAt("ACAD_SORTENTS"))))
            return table->drawOrder();
    return block->liveEntityIds();
}

ErrorStatus Database::cloneOne(ObjectId sourceId, ObjectId owner, IdMapping& mapping, ObjectId& out) {
    const DbObject* source = objectAt(sourceId);
    if (!source || source->isErased()) return ErrorStatus::eWasErased;
    std::unique_ptr<DbObject> copy = source->clone();
    ErrorStatus es = addObject(std::move(copy), owner, {}, &out);
    if (es != ErrorStatus::eOk) return es;
    mapping.add(sourceId, out);
    std::vector<ObjectId> owned;
    source->collectOwned(owned);
    for (ObjectId child : owned) {
        const DbObject* c = objectAt(child);
        if (!c || c->isErased()) continue;
        ObjectId ignored;
        if ((es = cloneOne(child, out, mapping, ignored)) != ErrorStatus::eOk) return es;
    }
    return ErrorStatus::eOk;
}

ErrorStatus Database::deepCloneObjects(const std::vector<ObjectId>& entities, ObjectId ownerId, IdMapping& mapping) {
    auto* owner = dynamic_cast<BlockTableRecord*>(objectAt(ownerId));
    if (!owner) return ErrorStatus::eWrongObjectType;
    if (owner->isErased()) return ErrorStatus::eWasErased;
    for (ObjectId id : entities) {
        const DbObject* source = objectAt(id);
        if (!source || source->isErased()) return ErrorStatus::eWasErased;
        if (!source->isEntity()) return ErrorStatus::eWrongObjectType;
    }
    std::size_t first = mapping.pairs().size();
    mapping.reserve(first + entities.size() * 4);
    for (ObjectId id : entities) {
        if (mapping.find(id)) continue;
        ObjectId copy;
        if (ErrorStatus es = cloneOne(id, ownerId, mapping, copy); es != ErrorStatus::eOk) return es;
        owner->appendEntityId(copy);
    }
    for (std::size_t i = first; i < mapping.pairs().size(); ++i)
        if (DbObject* copy = objectAt(mapping.pairs()[i].second)) copy->remapIds(mapping);
    return ErrorStatus::eOk;
}

}  // namespace cad
