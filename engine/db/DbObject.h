#pragma once
#include <concepts>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/db/Handle.h"
#include "engine/db/ObjectId.h"
#include "engine/db/ObjectKind.h"
#include "engine/db/RawTags.h"
#include "engine/db/XData.h"

namespace cad {

class Database;
class IdMapping;

// Base of everything a database holds. The database owns every object; objects refer to each
// other by ObjectId. Identity (database, id, handle) is given by the database when the object is
// added and never changes.
class DbObject {
public:
    virtual ~DbObject() = default;
    DbObject& operator=(const DbObject&) = delete;

    virtual ObjectKind kind() const = 0;
    // The class name as DXF files give it in their subclass markers, e.g. "AcDbPolyline".
    virtual std::string_view className() const = 0;
    virtual bool isEntity() const { return false; }
    // A copy with the same content and no identity (not in a database).
    virtual std::unique_ptr<DbObject> clone() const = 0;
    // Rewrites the ids this object refers to after a deep clone.
    virtual void remapIds(const IdMapping& mapping);
    // The objects this one owns outright, which are erased and cloned with it.
    virtual void collectOwned(std::vector<ObjectId>& out) const;

    Database* database() const { return db_; }
    ObjectId objectId() const { return id_; }
    Handle handle() const { return handle_; }
    ObjectId ownerId() const { return owner_; }
    Handle ownerHandle() const;
    void setOwnerId(ObjectId owner) { assign(owner_, owner); }

    bool isErased() const { return (flags_ & kErased) != 0; }
    // Erasing keeps the object (and its id and handle) so that it can be unerased; erased objects
    // are skipped by lookups, iteration and writing.
    ErrorStatus erase(bool erasing = true);

    // Set when a value of the object changes (opening it for write alone does not); an
    // unmodified object read from a file is written back from its source text.
    bool isModified() const { return (flags_ & kModified) != 0; }
    void setModified(bool modified) {
        flags_ = modified ? flags_ | kModified : flags_ & ~kModified;
    }

    ObjectId extensionDictionary() const { return xdict_; }
    void setExtensionDictionary(ObjectId dictionary) { assign(xdict_, dictionary); }
    // Creates the extension dictionary when there is none; its id is then extensionDictionary().
    ErrorStatus createExtensionDictionary();

    const std::vector<ObjectId>& reactors() const;
    void addReactor(ObjectId id);
    void removeReactor(ObjectId id);

    // Extended data. xData(app) gives that application's part (1001 item first), xData() all.
    XDataChain xData(std::string_view app = {}) const;
    // Each application part of `chain` (starting with its 1001 item) replaces that application's
    // data, keeping its place; a part with only the 1001 item removes it. Applications must be
    // registered in the database's APPID table.
    ErrorStatus setXData(const XDataChain& chain);
    // The whole chain as stored, without checks: for file readers.
    XDataChain xDataChain() const { return unpackXData(packedXData()); }
    void setXDataChain(const XDataChain& chain) {
        setPackedXData(packXData(chain));
        touch();
    }
    bool hasXData() const { return !packedXData().empty(); }

    // Lossless file support: the text the object was read from, the tags of it that no field
    // models (written back after the modelled ones when the object is modified), and the DXF
    // record name it was read under ("LWPOLYLINE", "ACDBDICTIONARYWDFLT" ...).
    SourceRef source() const { return {sourceText_, sourceOffset_, sourceLength_}; }
    // `text` must live as long as the object: the database keeps it (Database::keepSource).
    // A stretch too long to note is dropped, and the object is then written from its fields.
    void setSource(const SourceText* text, std::size_t offset, std::size_t length);
    const RawTagList& extraTags() const;
    RawTagList& editExtraTags();
    // Gives back the storage of extra tags, reactors and extended data when all are empty.
    void compact();
    std::string_view dxfName() const {
        // An unusual name is kept whole, NUL bytes and all (a damaged file's may have them).
        if (rare_ && name_ == rare_->name.c_str()) return rare_->name;
        return name_;
    }
    void setDxfName(std::string_view name);

protected:
    // `name` must live as long as the object (a literal).
    explicit DbObject(const char* name) : name_(name) {}
    DbObject(const DbObject& other);
    void touch() {
        flags_ |= kModified;
        if (db_) noteChange();
    }
    // Stores `value` and marks the object modified, unless the field holds that value already:
    // setting what is there must leave the object's source text in use.
    template <class F, class V>
    void assign(F& field, V&& value) {
        if constexpr (std::equality_comparable_with<F&, V&&>) {
            if (field == value) return;
        }
        field = std::forward<V>(value);
        touch();
    }

private:
    friend class Database;
    void noteChange();
    static constexpr std::uint8_t kErased = 1, kModified = 2;

    // A drawing holds hundreds of thousands of objects: the fields are ordered and narrowed so
    // that the base takes 72 bytes.
    Database* db_ = nullptr;
    Handle handle_;
    const char* name_;
    // What most objects of a drawing lack, kept apart so that they do not pay for it.
    struct Rare {
        RawTagList extraTags;
        std::vector<ObjectId> reactors;
        std::string xdata;  // packXData form
        std::string name;   // a record name none of the usual ones, which name_ then points into
    };
    Rare& rare();
    std::string_view packedXData() const { return rare_ ? std::string_view(rare_->xdata) : std::string_view(); }
    void setPackedXData(std::string packed);
    std::unique_ptr<Rare> rare_;
    const SourceText* sourceText_ = nullptr;
    std::uint64_t sourceOffset_ : 48 = 0;
    std::uint64_t flags_ : 8 = kModified;
    std::uint32_t sourceLength_ = 0;
    ObjectId id_, owner_, xdict_;
};

// `object` as a T when it is of `kind`, T's own: a check of the kind is one virtual call, where a
// dynamic_cast compares type names between the libraries of the host and its module.
template <class T>
const T* objectOfKind(const DbObject* object, ObjectKind kind) {
    return object != nullptr && object->kind() == kind ? static_cast<const T*>(object) : nullptr;
}

}  // namespace cad
