#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/db/Database.h"
#include "engine/db/DbObject.h"

namespace cad {

class SymbolTableRecord;

// One symbol table: its records in order and a name index (names compare ignoring case).
class SymbolTable : public DbObject {
public:
    explicit SymbolTable(TableKind kind);

    ObjectKind kind() const override { return ObjectKind::SymbolTable; }
    std::string_view className() const override;
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<SymbolTable>(*this); }

    TableKind tableKind() const { return tableKind_; }
    // The table's DXF name: "LAYER", "LTYPE", "BLOCK_RECORD" ...
    std::string_view tableName() const;
    static std::string_view tableName(TableKind kind);

    // Adds a record: eInvalidSymbolTableName (109) for a name that breaks the naming rules,
    // eDuplicateRecordName (95) when the name is taken by a live record. Block names "*U", "*D",
    // "*T", "*X" are numbered on adding ("*U7"). The record is taken only on success.
    // A file reader passes validate = false to keep damaged names and duplicates as read.
    template <class T>
    ErrorStatus add(std::unique_ptr<T>&& record, ObjectId* outId = nullptr, Handle handle = {},
                    bool validate = true) {
        std::unique_ptr<SymbolTableRecord> base(record.release());
        ErrorStatus es = addRecord(base, outId, handle, validate);
        if (base) record.reset(static_cast<T*>(base.release()));
        return es;
    }
    // The same with the base type; `record` is emptied only on success.
    ErrorStatus addRecord(std::unique_ptr<SymbolTableRecord>& record, ObjectId* outId = nullptr,
                          Handle handle = {}, bool validate = true);
    // A live record by name, or the null id.
    ObjectId getAt(std::string_view name) const;
    bool has(std::string_view name) const { return !getAt(name).isNull(); }
    // All records in order, erased ones included (check isErased when walking).
    const std::vector<ObjectId>& recordIds() const { return records_; }
    std::vector<ObjectId> liveRecordIds() const;

    // The 70 count as read; writers use at least the number of records.
    int declaredCount = 0;

private:
    friend class SymbolTableRecord;
    ErrorStatus checkName(std::string_view name, ObjectId self) const;
    void reindex(ObjectId id, std::string_view oldName, std::string_view newName);

    TableKind tableKind_;
    std::vector<ObjectId> records_;
    std::unordered_map<std::string, ObjectId> index_;  // upper-case name
    bool sharedNames_ = false;  // records that share a name were added without validation
    int anonymousCounter_ = 0;
};

// Base of the records of every table: a name and the standard 70 flags.
class SymbolTableRecord : public DbObject {
public:
    const std::string& name() const { return name_; }
    // Validated like add(); inside a table the new name must be free too.
    ErrorStatus setName(std::string_view name);
    int flags() const { return flags_; }
    void setFlags(int flags) { assign(flags_, flags); }
    bool isDependent() const { return (flags_ & 16) != 0; }

    virtual TableKind tableKind() const = 0;

protected:
    explicit SymbolTableRecord(const char* dxfName, std::string_view name = {})
        : DbObject(dxfName), name_(name) {}
    SymbolTableRecord(const SymbolTableRecord&) = default;

private:
    friend class SymbolTable;
    std::string name_;
    int flags_ = 0;
};

// Application names under which extended data is stored (APPID).
class RegAppTableRecord : public SymbolTableRecord {
public:
    explicit RegAppTableRecord(std::string_view name = {}) : SymbolTableRecord("APPID", name) {}
    ObjectKind kind() const override { return ObjectKind::RegAppTableRecord; }
    std::string_view className() const override { return "AcDbRegAppTableRecord"; }
    TableKind tableKind() const override { return TableKind::RegApp; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<RegAppTableRecord>(*this); }
};

// Records of tables the engine does not interpret (VIEW, DIMSTYLE): name and flags, the rest in
// extraTags.
class OtherTableRecord : public SymbolTableRecord {
public:
    explicit OtherTableRecord(TableKind table, std::string_view name = {});
    ObjectKind kind() const override { return ObjectKind::OtherTableRecord; }
    std::string_view className() const override;
    TableKind tableKind() const override { return table_; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<OtherTableRecord>(*this); }

private:
    TableKind table_;
};

}  // namespace cad
