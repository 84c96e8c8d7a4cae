#pragma once
#include <array>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/tags/DxfRecordParts.h"
#include "engine/dxf/codecs/DxfCodec.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

class BlockTableRecord;
class Entity;
class Hatch;
class DxfExtraTags;

// Builds a Database from a DxfDocument: modelled kinds become their classes (fields parsed, the
// tags no field holds kept as extra tags), everything else UnknownEntity/UnknownObject with its
// tags. Every object keeps its source text, so an unchanged one is written back byte for byte.
//
// A document still being scanned (DxfDocument::open) is read along with its scan, so that the
// text is read once. That needs a sound R2000+ file: as soon as the scan finds something to
// repair, or the reader would have to invent a handle, what was built is dropped and the drawing
// is read again from the whole, repaired document.
class DxfDatabaseReader : private DxfReadServices {
public:
    explicit DxfDatabaseReader(DxfDocument& document);
    DxfDrawing read();

private:
    struct Restart {};
    DxfDrawing readSections();
    // The records of the section being read: has(k) scans on until record k is complete.
    bool has(std::size_t k);
    const DxfRecord& rec(std::size_t k) const { return doc_.sections()[section_].at(k); }
    // The records before `k` are read: while reading along, the document may drop them.
    void readUpTo(std::size_t k);
    void scanMore();
    Handle syntheticHandle();

    void readHeader();
    void readTables();
    void readBlocks();
    void readEntities();
    void readObjects();
    // Reads the entity records from `i` on into `block`; returns the index after the last one used.
    std::size_t readEntity(std::size_t i, ObjectId block);
    // `tags` are the record's whole tags, which `parts` split.
    std::unique_ptr<Entity> makeEntity(const DxfRecord& record, const std::vector<DxfTag>& tags,
                                       const DxfRecordParts& parts);
    void finishObject(DbObject& object, const DxfRecord& record, const DxfRecordParts& parts);
    ObjectId ownerBlockFor(const DxfRecordParts& parts, bool paperSpace) const;
    void ensureLayoutBlocks();
    // The layer a record names, as written.
    ObjectId layerByName(std::string_view raw, std::size_t line);
    ObjectId blockByName(const std::string& name, std::size_t line) override;
    ObjectId textStyleByName(std::string_view raw) override;
    ObjectId findOrAddBlock(const std::string& name, std::size_t line);
    ObjectId idOf(Handle handle) override;
    std::string text(std::string_view raw) const override;
    std::string textValue(std::string_view raw) const override;
    void warn(std::size_t line, const std::string& message) override;
    Database& database() override { return *db_; }
    int version() const override { return version_; }
    SourceSpan spanOf(const DxfRecord& record) const;
    // Values of modelled fields; a value that is not a number is an error naming its line.
    double num(const DxfTag& tag) const override;
    long long integer(const DxfTag& tag) const override;

    DxfDocument& doc_;
    bool streaming_ = false;
    std::size_t section_ = 0;
    DxfDrawing out_;
    Database* db_ = nullptr;
    int version_ = 0;
    std::vector<ObjectId> regenerate_;  // read objects whose text must be generated anew
    // Layer, block and text style names as written, to what they name: a drawing looks them up
    // hundreds of thousands of times, and the tables' own search folds case in a copy first.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using NameCache = std::unordered_map<std::string, ObjectId, NameHash, std::equal_to<>>;
    NameCache layers_, blocks_, styles_;
    // The last few layer, style and block names found, tried before hashing: neighbouring
    // records mostly name the same few.
    struct RecentNames {
        std::array<std::pair<std::string, ObjectId>, 8> entries;
        std::size_t next = 0;
        ObjectId find(std::string_view name) const {
            for (const auto& [key, id] : entries)
                if (key.size() == name.size() && !id.isNull() && key == name) return id;
            return {};
        }
        void remember(std::string_view name, ObjectId id) {
            entries[next] = {std::string(name), id};
            next = (next + 1) % entries.size();
        }
        // From the last few, else from `cache` (then kept among the last few); nothing when neither has it.
        std::optional<ObjectId> findIn(const NameCache& cache, std::string_view name) {
            if (ObjectId id = find(name)) return id;
            const auto it = cache.find(name);
            if (it == cache.end()) return std::nullopt;
            remember(name, it->second);
            return it->second;
        }
    };
    RecentNames recentLayers_, recentStyles_, recentBlocks_;
    // Reused per entity: [0] for the entity, [1] for what follows it (attributes, vertices).
    std::vector<DxfTag> scratchTags_[2];
    DxfRecordParts scratchParts_[2];
};

}  // namespace cad
