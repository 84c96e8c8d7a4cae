#include "engine/db/Dictionary.h"

#include <algorithm>

#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/SymbolName.h"

namespace cad {

std::string_view Dictionary::className() const {
    return dxfName() == "ACDBDICTIONARYWDFLT" ? "AcDbDictionaryWithDefault" : "AcDbDictionary";
}

void Dictionary::remapIds(const IdMapping& mapping) {
    DbObject::remapIds(mapping);
    for (Entry& e : entries_) e.id = mapping.translate(e.id);
    default_ = mapping.translate(default_);
}

void Dictionary::collectOwned(std::vector<ObjectId>& out) const {
    DbObject::collectOwned(out);
    if (!database()) return;
    for (const Entry& e : entries_) {
        const DbObject* obj = database()->objectAt(e.id);
        if (obj && obj->ownerId() == objectId()) out.push_back(e.id);
    }
}

ObjectId Dictionary::getAt(std::string_view key) const {
    for (const Entry& e : entries_) {
        if (!symbolNamesEqual(e.key, key)) continue;
        const DbObject* obj = database() ? database()->objectAt(e.id) : nullptr;
        if (obj && !obj->isErased()) return e.id;
    }
    return {};
}

ErrorStatus Dictionary::setAtBase(std::string_view key, std::unique_ptr<DbObject>& object, ObjectId* outId,
                                  Handle handle) {
    if (!object || key.empty()) return ErrorStatus::eInvalidInput;
    if (!database()) return ErrorStatus::eNotApplicable;
    DbObject* raw = object.get();
    ObjectId id;
    ErrorStatus es = database()->addObject(std::move(object), objectId(), handle, &id);
    if (es != ErrorStatus::eOk) return es;
    if (ObjectId old = getAt(key)) {
        database()->erase(old);
        remove(key);
    }
    entries_.push_back({std::string(key), id, hardOwner_});
    raw->addReactor(objectId());
    touch();
    if (outId) *outId = id;
    return ErrorStatus::eOk;
}

void Dictionary::addEntry(std::string_view key, ObjectId id, bool hardOwner) {
    entries_.push_back({std::string(key), id, hardOwner});
    touch();
}

bool Dictionary::remove(std::string_view key) {
    auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
        if (!symbolNamesEqual(e.key, key)) return false;
        const DbObject* obj = database() ? database()->objectAt(e.id) : nullptr;
        return obj && !obj->isErased();
    });
    if (it == entries_.end()) {
        it = std::find_if(entries_.begin(), entries_.end(),
                          [&](const Entry& e) { return symbolNamesEqual(e.key, key); });
        if (it == entries_.end()) return false;
    }
    entries_.erase(it);
    touch();
    return true;
}

std::string Dictionary::keyOf(ObjectId id) const {
    for (const Entry& e : entries_)
        if (e.id == id) return e.key;
    return {};
}

}  // namespace cad
