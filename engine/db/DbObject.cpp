#include "engine/db/DbObject.h"

#include <algorithm>
#include <iterator>
#include <limits>

#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/SymbolName.h"

namespace cad {

namespace {

// Record names common enough that an object read under one of them points at this table instead
// of keeping its own copy. Sorted.
constexpr const char* kKnownNames[] = {
    "3DFACE", "3DSOLID", "ACAD_PROXY_ENTITY", "ACAD_PROXY_OBJECT", "ACAD_TABLE",
    "ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER", "APPID", "ARC", "ARC_DIMENSION", "ATTDEF", "ATTRIB",
    "BLOCK", "BLOCK_RECORD", "BODY", "CELLSTYLEMAP", "CIRCLE", "DICTIONARY", "DICTIONARYVAR",
    "DIMASSOC", "DIMENSION", "DIMSTYLE", "ELLIPSE", "ENDBLK", "FIELD", "FIELDLIST", "GEODATA",
    "GROUP", "HATCH", "HELIX", "IDBUFFER", "IMAGE", "IMAGEDEF", "IMAGEDEF_REACTOR", "INSERT",
    "LAYER", "LAYER_FILTER", "LAYER_INDEX", "LAYOUT", "LEADER", "LIGHT", "LINE", "LTYPE",
    "LWPOLYLINE", "MATERIAL", "MESH", "MLEADERSTYLE", "MLINE", "MLINESTYLE", "MTEXT",
    "MULTILEADER", "OLE2FRAME", "PLOTSETTINGS", "POINT", "POLYLINE", "RASTERVARIABLES", "RAY",
    "REGION", "SCALE", "SEQEND", "SHAPE", "SOLID", "SORTENTSTABLE", "SPATIAL_FILTER",
    "SPATIAL_INDEX", "SPLINE", "STYLE", "SUN", "SURFACE", "TABLE", "TABLESTYLE", "TEXT",
    "TOLERANCE", "TRACE", "UCS", "VERTEX", "VIEW", "VIEWPORT", "VISUALSTYLE", "VPORT", "WIPEOUT",
    "WIPEOUTVARIABLES", "XLINE", "XRECORD",
};

const char* knownName(std::string_view name) {
    const auto* end = std::end(kKnownNames);
    const auto* it = std::lower_bound(std::begin(kKnownNames), end, name,
                                      [](const char* a, std::string_view b) { return std::string_view(a) < b; });
    return it != end && std::string_view(*it) == name ? *it : nullptr;
}

}  // namespace

DbObject::DbObject(const DbObject& other)
    : name_(other.name_),
      rare_(other.rare_ ? std::make_unique<Rare>(*other.rare_) : nullptr),
      owner_(other.owner_),
      xdict_(other.xdict_) {
    if (other.rare_ && other.name_ == other.rare_->name.c_str()) name_ = rare_->name.c_str();
}

void DbObject::setDxfName(std::string_view name) {
    if (name == dxfName()) return;
    if (const char* known = name.empty() ? "" : knownName(name)) {
        name_ = known;
        if (rare_) rare_->name.clear();
        return;
    }
    rare().name = name;
    name_ = rare_->name.c_str();
}

void DbObject::setSource(const SourceText* text, std::size_t offset, std::size_t length) {
    if (!text || length > std::numeric_limits<std::uint32_t>::max() || offset >= (std::uint64_t{1} << 48)) {
        sourceText_ = nullptr;
        sourceOffset_ = 0;
        sourceLength_ = 0;
        return;
    }
    sourceText_ = text;
    sourceOffset_ = offset;
    sourceLength_ = static_cast<std::uint32_t>(length);
}

DbObject::Rare& DbObject::rare() {
    if (!rare_) rare_ = std::make_unique<Rare>();
    return *rare_;
}

void DbObject::setPackedXData(std::string packed) {
    if (packed.empty() && !rare_) return;
    rare().xdata = std::move(packed);
}

const RawTagList& DbObject::extraTags() const {
    static const RawTagList kNone;
    return rare_ ? rare_->extraTags : kNone;
}

RawTagList& DbObject::editExtraTags() { return rare().extraTags; }

void DbObject::compact() {
    if (rare_ && rare_->extraTags.empty() && rare_->reactors.empty() && rare_->xdata.empty() &&
        rare_->name.empty())
        rare_.reset();
}

const std::vector<ObjectId>& DbObject::reactors() const {
    static const std::vector<ObjectId> kNone;
    return rare_ ? rare_->reactors : kNone;
}

void DbObject::remapIds(const IdMapping& mapping) {
    owner_ = mapping.translate(owner_);
    xdict_ = mapping.translate(xdict_);
    if (!rare_) return;
    for (ObjectId& r : rare_->reactors) r = mapping.translate(r);
    if (!db_ || !packedXDataHasHandles(rare_->xdata)) return;
    XDataChain chain = unpackXData(rare_->xdata);
    bool changed = false;
    for (XDataItem& item : chain) {
        if (item.code() != 1005) continue;
        ObjectId source;
        if (db_->getObjectId(source, item.asHandle(), true) != ErrorStatus::eOk) continue;
        if (ObjectId clone = mapping.find(source)) {
            item.setHandle(db_->handleOf(clone));
            changed = true;
        }
    }
    if (changed) rare_->xdata = packXData(chain);
}

void DbObject::collectOwned(std::vector<ObjectId>& out) const {
    if (xdict_) out.push_back(xdict_);
}

void DbObject::noteChange() { db_->noteChange(*this); }

Handle DbObject::ownerHandle() const { return db_ ? db_->handleOf(owner_) : Handle{}; }

ErrorStatus DbObject::erase(bool erasing) {
    if (!db_) return ErrorStatus::eNotApplicable;
    return db_->erase(id_, erasing);
}

ErrorStatus DbObject::createExtensionDictionary() {
    if (!db_) return ErrorStatus::eNotApplicable;
    return db_->createExtensionDictionary(id_);
}

void DbObject::addReactor(ObjectId id) {
    if (id && std::find(reactors().begin(), reactors().end(), id) == reactors().end()) {
        rare().reactors.push_back(id);
        touch();
    }
}

void DbObject::removeReactor(ObjectId id) {
    if (!rare_) return;
    auto& reactors = rare_->reactors;
    auto it = std::find(reactors.begin(), reactors.end(), id);
    if (it != reactors.end()) {
        reactors.erase(it);
        touch();
    }
}

XDataChain DbObject::xData(std::string_view app) const {
    const std::string_view packed = packedXData();
    if (packed.empty()) return {};
    if (app.empty()) return unpackXData(packed);
    return unpackXData(packedXDataOfApp(packed, app));
}

ErrorStatus DbObject::setXData(const XDataChain& chain) {
    if (chain.empty()) return ErrorStatus::eOk;
    if (!chain.front().isAppName()) return ErrorStatus::eInvalidXData;
    // Check everything first so that a refused chain changes nothing.
    int depth = 0;
    for (const XDataItem& item : chain) {
        if (item.isAppName()) {
            if (depth != 0) return ErrorStatus::eInvalidXData;
            if (!db_ || !db_->isApplicationRegistered(item.asText()))
                return ErrorStatus::eRegappIdNotFound;
        } else if (item.isOpen()) {
            ++depth;
        } else if (item.isClose()) {
            if (--depth < 0) return ErrorStatus::eInvalidXData;
        }
    }
    if (depth != 0) return ErrorStatus::eInvalidXData;

    XDataChain current = unpackXData(packedXData());
    std::size_t start = 0;
    while (start < chain.size()) {
        std::size_t end = start + 1;
        while (end < chain.size() && !chain[end].isAppName()) ++end;
        const std::string& app = chain[start].asText();
        // Locate the application's current part.
        std::size_t from = current.size(), to = current.size();
        for (std::size_t i = 0; i < current.size(); ++i) {
            if (current[i].isAppName() && symbolNamesEqual(current[i].asText(), app)) {
                from = i;
                to = i + 1;
                while (to < current.size() && !current[to].isAppName()) ++to;
                break;
            }
        }
        auto first = chain.begin() + static_cast<std::ptrdiff_t>(start);
        auto last = chain.begin() + static_cast<std::ptrdiff_t>(end);
        bool removes = end == start + 1;
        if (from == current.size()) {
            if (!removes) current.insert(current.end(), first, last);
        } else {
            auto at = current.erase(current.begin() + static_cast<std::ptrdiff_t>(from),
                                   current.begin() + static_cast<std::ptrdiff_t>(to));
            if (!removes) current.insert(at, first, last);
        }
        start = end;
    }
    std::string packed = packXData(current);
    if (packed == packedXData()) return ErrorStatus::eOk;
    setPackedXData(std::move(packed));
    touch();
    return ErrorStatus::eOk;
}

}  // namespace cad
