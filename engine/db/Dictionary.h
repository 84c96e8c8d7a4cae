#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/DbObject.h"

namespace cad {

// A keyed, ordered collection of objects (DICTIONARY, and ACDBDICTIONARYWDFLT when read as such).
// Keys compare ignoring case. Entries whose object is erased are skipped by lookups.
class Dictionary : public DbObject {
public:
    struct Entry {
        std::string key;
        ObjectId id;
        bool hardOwner = false;  // written with 360 rather than 350
    };

    explicit Dictionary(const char* dxfName = "DICTIONARY") : DbObject(dxfName) {}
    ObjectKind kind() const override { return ObjectKind::Dictionary; }
    std::string_view className() const override;
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Dictionary>(*this); }
    void remapIds(const IdMapping& mapping) override;
    void collectOwned(std::vector<ObjectId>& out) const override;

    ObjectId getAt(std::string_view key) const;
    bool has(std::string_view key) const { return !getAt(key).isNull(); }
    // Adds `object` under `key`, owned by this dictionary (its reactor points back here). A live
    // entry of the same key is erased and replaced. The object is taken only on success.
    template <class T>
    ErrorStatus setAt(std::string_view key, std::unique_ptr<T>&& object, ObjectId* outId = nullptr,
                      Handle handle = {}) {
        std::unique_ptr<DbObject> base(object.release());
        ErrorStatus es = setAtBase(key, base, outId, handle);
        if (base) object.reset(static_cast<T*>(base.release()));
        return es;
    }
    ErrorStatus setAtBase(std::string_view key, std::unique_ptr<DbObject>& object, ObjectId* outId = nullptr,
                          Handle handle = {});
    // Adds an entry for an object already in the database (file readers).
    void addEntry(std::string_view key, ObjectId id, bool hardOwner = false);
    // Removes the entry (the object itself stays).
    bool remove(std::string_view key);
    const std::vector<Entry>& entries() const { return entries_; }
    std::string keyOf(ObjectId id) const;

    // 280: entries are hard-owned; 281: duplicate record cloning (1 keep existing).
    bool isHardOwner() const { return hardOwner_; }
    void setHardOwner(bool on) { assign(hardOwner_, on); }
    int mergeStyle() const { return mergeStyle_; }
    void setMergeStyle(int style) { assign(mergeStyle_, style); }
    // The default entry of a dictionary with default (340).
    ObjectId defaultId() const { return default_; }
    void setDefaultId(ObjectId id) { assign(default_, id); }

private:
    std::vector<Entry> entries_;
    ObjectId default_;
    int mergeStyle_ = 1;
    bool hardOwner_ = false;
};

}  // namespace cad
