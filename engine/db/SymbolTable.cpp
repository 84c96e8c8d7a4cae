#include "engine/db/SymbolTable.h"

#include <fmt/format.h>

#include "engine/db/SymbolName.h"

namespace cad {

namespace {
const char* recordDxfName(TableKind kind) {
    switch (kind) {
        case TableKind::Viewport: return "VPORT";
        case TableKind::Linetype: return "LTYPE";
        case TableKind::Layer: return "LAYER";
        case TableKind::TextStyle: return "STYLE";
        case TableKind::View: return "VIEW";
        case TableKind::Ucs: return "UCS";
        case TableKind::RegApp: return "APPID";
        case TableKind::DimStyle: return "DIMSTYLE";
        case TableKind::Block: return "BLOCK_RECORD";
    }
    return "";
}

// Blocks ("*U3", "*Model_Space") and viewports ("*Active") may start with '*'.
SymbolNameRule nameRule(TableKind kind) {
    return kind == TableKind::Block || kind == TableKind::Viewport ? SymbolNameRule::Block : SymbolNameRule::Plain;
}

// Anonymous block prefixes that are numbered when added.
bool isAnonymousPrefix(std::string_view name) {
    return name.size() == 2 && name[0] == '*' &&
           (name[1] == 'U' || name[1] == 'u' || name[1] == 'D' || name[1] == 'd' || name[1] == 'T' ||
            name[1] == 't' || name[1] == 'X' || name[1] == 'x');
}
}  // namespace

SymbolTable::SymbolTable(TableKind kind) : DbObject("TABLE"), tableKind_(kind) {}

std::string_view SymbolTable::className() const {
    switch (tableKind_) {
        case TableKind::Viewport: return "AcDbViewportTable";
        case TableKind::Linetype: return "AcDbLinetypeTable";
        case TableKind::Layer: return "AcDbLayerTable";
        case TableKind::TextStyle: return "AcDbTextStyleTable";
        case TableKind::View: return "AcDbViewTable";
        case TableKind::Ucs: return "AcDbUCSTable";
        case TableKind::RegApp: return "AcDbRegAppTable";
        case TableKind::DimStyle: return "AcDbDimStyleTable";
        case TableKind::Block: return "AcDbBlockTable";
    }
    return "AcDbSymbolTable";
}

std::string_view SymbolTable::tableName() const { return recordDxfName(tableKind_); }
std::string_view SymbolTable::tableName(TableKind kind) { return recordDxfName(kind); }

ErrorStatus SymbolTable::checkName(std::string_view name, ObjectId self) const {
    if (!isValidSymbolName(name, nameRule(tableKind_))) return ErrorStatus::eInvalidSymbolTableName;
    ObjectId existing = getAt(name);
    if (existing && existing != self) return ErrorStatus::eDuplicateRecordName;
    return ErrorStatus::eOk;
}

ErrorStatus SymbolTable::addRecord(std::unique_ptr<SymbolTableRecord>& record, ObjectId* outId, Handle handle,
                                   bool validate) {
    if (!record) return ErrorStatus::eInvalidInput;
    if (!database()) return ErrorStatus::eNotApplicable;
    if (record->tableKind() != tableKind_) return ErrorStatus::eWrongObjectType;
    if (validate && tableKind_ == TableKind::Block && isAnonymousPrefix(record->name())) {
        std::string prefix = symbolNameKey(record->name());
        std::string numbered;
        do numbered = fmt::format("{}{}", prefix, anonymousCounter_++);
        while (has(numbered));
        record->name_ = numbered;
        record->flags_ |= 1;
    }
    if (validate) {
        if (ErrorStatus es = checkName(record->name(), {}); es != ErrorStatus::eOk) return es;
    }
    std::string key = symbolNameKey(record->name());
    ObjectId id;
    ErrorStatus es = database()->addObject(std::move(record), objectId(), handle, &id);
    if (es != ErrorStatus::eOk) return es;
    records_.push_back(id);
    if (validate) index_[key] = id;
    else if (!index_.emplace(key, id).second) sharedNames_ = true;
    touch();
    if (outId) *outId = id;
    return ErrorStatus::eOk;
}

ObjectId SymbolTable::getAt(std::string_view name) const {
    auto it = index_.find(symbolNameKey(name));
    if (it != index_.end()) {
        const DbObject* obj = database() ? database()->objectAt(it->second) : nullptr;
        if (obj && !obj->isErased()) return it->second;
    } else if (!sharedNames_) {
        return {};
    }
    // An erased record may hide a live one of the same name added before it, and a name read
    // twice from a damaged file has only its first holder in the index.
    if (!database()) return {};
    for (auto rit = records_.rbegin(); rit != records_.rend(); ++rit) {
        const auto* rec = static_cast<const SymbolTableRecord*>(database()->objectAt(*rit));
        if (rec && !rec->isErased() && symbolNamesEqual(rec->name(), name)) return *rit;
    }
    return {};
}

std::vector<ObjectId> SymbolTable::liveRecordIds() const {
    std::vector<ObjectId> live;
    live.reserve(records_.size());
    for (ObjectId id : records_) {
        const DbObject* obj = database()->objectAt(id);
        if (obj && !obj->isErased()) live.push_back(id);
    }
    return live;
}

void SymbolTable::reindex(ObjectId id, std::string_view oldName, std::string_view newName) {
    auto it = index_.find(symbolNameKey(oldName));
    if (it != index_.end() && it->second == id) index_.erase(it);
    index_[symbolNameKey(newName)] = id;
    touch();
}

ErrorStatus SymbolTableRecord::setName(std::string_view name) {
    SymbolTable* table = nullptr;
    if (database() && ownerId()) table = dynamic_cast<SymbolTable*>(database()->objectAt(ownerId()));
    if (name == name_) return ErrorStatus::eOk;
    if (table) {
        if (ErrorStatus es = table->checkName(name, objectId()); es != ErrorStatus::eOk) return es;
        table->reindex(objectId(), name_, name);
    } else {
        if (!isValidSymbolName(name, nameRule(tableKind()))) return ErrorStatus::eInvalidSymbolTableName;
    }
    name_ = std::string(name);
    touch();
    return ErrorStatus::eOk;
}

OtherTableRecord::OtherTableRecord(TableKind table, std::string_view name)
    : SymbolTableRecord(recordDxfName(table), name), table_(table) {}

std::string_view OtherTableRecord::className() const {
    switch (table_) {
        case TableKind::View: return "AcDbViewTableRecord";
        case TableKind::DimStyle: return "AcDbDimStyleTableRecord";
        default: return "AcDbSymbolTableRecord";
    }
}

}  // namespace cad
