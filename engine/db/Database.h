#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/db/DbObject.h"
#include "engine/db/ErrorStatus.h"
#include "engine/db/Handle.h"
#include "engine/db/HandleIndex.h"
#include "engine/db/HeaderVariables.h"
#include "engine/db/IdMapping.h"
#include "engine/db/ObjectId.h"
#include "engine/geometry/Extents3d.h"

namespace cad {

enum class OpenMode : std::uint8_t { ForRead, ForWrite };

// The nine symbol tables of a drawing, in DXF file order.
enum class TableKind : std::uint8_t {
    Viewport, Linetype, Layer, TextStyle, View, Ucs, RegApp, DimStyle, Block,
};
constexpr std::size_t kTableKindCount = 9;

template <class T> class ObjectPtr;
using BlockExtentsCache = std::unordered_map<ObjectId, Extents3d>;
class HatchPatternLibrary;
class Entity;
class BlockReference;

// One drawing in memory: the object table (id <-> handle), the symbol tables, the named object
// dictionary and the header variables. Owns every object it holds.
class Database {
public:
    // An empty database, for a file reader to fill: no tables, no dictionaries.
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A new, complete empty drawing (tables with their standard records, model and paper space,
    // layouts, the named object dictionary and its standard entries, header variables).
    static std::unique_ptr<Database> createDefault();

    // ---- object table ----
    // Adds `object` owned by `owner` under `handle`, or under the next free handle when `handle`
    // is null. The object is taken only on success (eHandleInUse leaves it with the caller).
    template <class T>
    ErrorStatus addObject(std::unique_ptr<T>&& object, ObjectId owner, Handle handle = {},
                          ObjectId* outId = nullptr) {
        std::unique_ptr<DbObject> base(object.release());
        ErrorStatus es = addObjectBase(base, owner, handle, outId);
        if (base) object.reset(static_cast<T*>(base.release()));
        return es;
    }
    // The same with the base type; `object` is emptied only on success.
    ErrorStatus addObjectBase(std::unique_ptr<DbObject>& object, ObjectId owner, Handle handle = {},
                              ObjectId* outId = nullptr);
    // The id that `handle` has or will have: lets a reader refer to objects not yet read.
    ObjectId reserveId(Handle handle);
    // eWasErased (13) for a handle nobody has, or whose object is erased (unless includeErased).
    ErrorStatus getObjectId(ObjectId& out, Handle handle, bool includeErased = false) const;
    // The same from handle text; eInvalidHandle when the text is no handle.
    ErrorStatus getObjectId(ObjectId& out, std::string_view handleText) const;
    Handle handleOf(ObjectId id) const;
    // Direct access without opening, for readers and writers walking the whole table; null for
    // ids never filled. Index 0 is never used.
    DbObject* objectAt(ObjectId id) const;
    // Whether `id` names an object that is there and not erased: writers skip references to
    // anything else (group members, draw-order pairs, reactors of erased objects).
    bool isLive(ObjectId id) const {
        const DbObject* obj = objectAt(id);
        return obj && !obj->isErased();
    }
    std::uint32_t slotCount() const { return static_cast<std::uint32_t>(slots_.size()); }
    // Room for `count` objects, for readers that know how many are coming.
    void reserveObjects(std::size_t count) {
        slots_.reserve(count + 1);
        byHandle_.reserve(count);
    }
    // The next handle a new object gets ($HANDSEED); always above every handle in use.
    Handle handseed() const { return Handle(nextHandle_); }
    void setHandseed(Handle seed);
    void clearModifiedFlags();

    // ---- opening ----
    // Opens `id` as a T. Fails with eNullObjectId, eWasErased (13, also for never-filled ids),
    // eWrongObjectType, or eOnLockedLayer (87) for writing an entity on a locked layer.
    template <class T = DbObject>
    ObjectPtr<T> open(ObjectId id, OpenMode mode = OpenMode::ForRead, bool openErased = false);
    ErrorStatus openRaw(DbObject*& out, ObjectId id, OpenMode mode, bool openErased);

    // Erases (or unerases) an object and everything it owns: attributes of a reference, the
    // entities of a block, extension dictionaries.
    ErrorStatus erase(ObjectId id, bool erasing = true);
    ErrorStatus createExtensionDictionary(ObjectId id);

    // ---- tables and dictionaries ----
    ObjectId tableId(TableKind kind) const { return tables_[static_cast<std::size_t>(kind)]; }
    void setTableId(TableKind kind, ObjectId id) { tables_[static_cast<std::size_t>(kind)] = id; }
    ObjectId blockTableId() const { return tableId(TableKind::Block); }
    ObjectId layerTableId() const { return tableId(TableKind::Layer); }
    ObjectId linetypeTableId() const { return tableId(TableKind::Linetype); }
    ObjectId textStyleTableId() const { return tableId(TableKind::TextStyle); }
    ObjectId regAppTableId() const { return tableId(TableKind::RegApp); }
    ObjectId namedObjectsDictionaryId() const { return namedObjects_; }
    void setNamedObjectsDictionaryId(ObjectId id) { namedObjects_ = id; }
    // A record of a table by name (ignoring case), or the null id.
    ObjectId recordId(TableKind kind, std::string_view name) const;
    ObjectId modelSpaceId() const;
    ObjectId paperSpaceId() const;
    // An entry of the named object dictionary (e.g. "ACAD_LAYOUT"), or the null id.
    ObjectId namedObject(std::string_view key) const;

    // Adds the application to the APPID table unless it is there (eOk both ways); the name must be
    // a valid symbol name of at most 31 characters without blanks.
    ErrorStatus registerApplication(std::string_view name, ObjectId* outId = nullptr);
    bool isApplicationRegistered(std::string_view name) const;

    // ---- header ----
    HeaderVariables& header() { return header_; }
    const HeaderVariables& header() const { return header_; }
    int lunits() const;
    void setLunits(int value);
    int insunits() const;
    void setInsunits(int value);
    // The current layer ($CLAYER), layer "0" when the variable names no layer.
    ObjectId clayer() const;
    ErrorStatus setClayer(ObjectId layer);
    Point3d ucsOrigin() const;
    Vector3d ucsXDir() const;
    Vector3d ucsYDir() const;
    void setUcs(const Point3d& origin, const Vector3d& xDir, const Vector3d& yDir);
    // The UCS -> WCS matrix of the header's current coordinate system.
    Matrix3d ucsToWcs() const;
    // Extents of the visible entities of a block (model space by default). Kept until the next
    // change: every zoom of a command asks again.
    Extents3d computeExtents(ObjectId block = {}) const;
    // Counts changes that can move what the drawing shows (entities, layers, block records, the
    // object table). Extents are kept between changes; changes to single entities of the block
    // last measured are remeasured alone.
    std::uint64_t revision() const { return revision_; }
    // Counts every change of any object (added, changed, erased): a document compares it with the
    // count at its last save to know whether it holds unsaved changes.
    std::uint64_t editCount() const { return edits_; }
    void noteChange() {
        ++revision_;
        extentsCache_.whole = true;
    }
    void noteChange(const DbObject& object);
    // Writes $EXTMIN/$EXTMAX from the model space entities (the "unknown" form when empty).
    void updateExtents();

    // Hatch patterns by name, in the units $MEASUREMENT gives (metric when 1); made on first use,
    // and where users' pattern files are loaded.
    HatchPatternLibrary& hatchPatterns() const;

    // ---- layouts ----
    // Layout objects ordered by tab order (Model first).
    std::vector<ObjectId> layouts() const;
    ObjectId layoutId(std::string_view name) const;
    // "Model" while $TILEMODE is 1 (or unset), else the paper layout whose block is *Paper_Space,
    // as a file records the layout it was left on.
    std::string currentLayout() const;
    // A paper layout made current takes the *Paper_Space block (its old holder takes the layout's
    // former block name), so that a saved drawing opens on it.
    ErrorStatus setCurrentLayout(std::string_view name);

    // ---- draw order ----
    // The block's draw-order table from its extension dictionary ("ACAD_SORTENTS"), created
    // (with the dictionary) when `create` is set.
    ErrorStatus getSortentsTable(ObjectId block, ObjectId& out, bool create);
    // The live entities of a block, first drawn first.
    std::vector<ObjectId> drawOrder(ObjectId block) const;

    // Keeps the text objects were read from as long as the database lives (see DbObject::source).
    void keepSource(const std::shared_ptr<const SourceText>& text) {
        if (text && (sources_.empty() || (sources_.back() != text && sources_.front() != text))) sources_.push_back(text);
    }

    // ---- copying ----
    // Copies `entities` (with what they own) into block `owner`, recording source -> copy in
    // `mapping`; references among the copied objects are translated to the copies.
    ErrorStatus deepCloneObjects(const std::vector<ObjectId>& entities, ObjectId owner,
                                 IdMapping& mapping);

private:
    struct Slot {
        std::unique_ptr<DbObject> object;
        Handle handle;
    };
    Slot* slotOf(ObjectId id);
    const Slot* slotOf(ObjectId id) const;
    void eraseTree(ObjectId id, bool erasing);
    ErrorStatus cloneOne(ObjectId source, ObjectId owner, IdMapping& mapping, ObjectId& out);

    // Before the objects, which point into it, so that it goes after them.
    std::vector<std::shared_ptr<const SourceText>> sources_;
    std::vector<Slot> slots_;
    HandleIndex byHandle_;
    std::uint64_t nextHandle_ = 1;
    std::array<ObjectId, kTableKindCount> tables_{};
    ObjectId namedObjects_;
    HeaderVariables header_;
    mutable std::unique_ptr<HatchPatternLibrary> patterns_;
    std::uint64_t revision_ = 0;
    std::uint64_t edits_ = 0;
    Extents3d entityExtents(const Entity& entity, BlockExtentsCache& cache) const;
    struct ExtentsCache {
        ObjectId block;
        bool valid = false;
        bool whole = true;                                  // everything must be measured again
        std::vector<std::pair<ObjectId, Extents3d>> boxes;  // per entity of the block, by id
        std::vector<ObjectId> changed;                      // entities to measure again
        BlockExtentsCache definitions;                      // contents of block definitions
    };
    mutable ExtentsCache extentsCache_;
};

}  // namespace cad

#include "engine/db/ObjectPtr.h"
