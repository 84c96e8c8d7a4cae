#pragma once
#include <string>
#include <vector>

#include "engine/dxf/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfRecordParts.h"
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
class DxfDatabaseReader {
public:
    explicit DxfDatabaseReader(DxfDocument& document);
    DxfDrawing read();

private:
    void readHeader(const DxfSection& section);
    void readTables(const DxfSection& section);
    void readBlocks(const DxfSection& section);
    void readEntities(const DxfSection& section);
    void readObjects(const DxfSection& section);
    // Reads the entity records from `i` on into `block`; returns the index after the last one used.
    std::size_t readEntity(const std::vector<DxfRecord>& records, std::size_t i, ObjectId block);
    std::unique_ptr<Entity> makeEntity(const DxfRecord& record, const DxfRecordParts& parts);
    void finishObject(DbObject& object, const DxfRecord& record, const DxfRecordParts& parts);
    ObjectId ownerBlockFor(const DxfRecordParts& parts, bool paperSpace) const;
    void ensureLayoutBlocks();
    ObjectId layerByName(const std::string& name, std::size_t line);
    ObjectId blockByName(const std::string& name, std::size_t line);
    ObjectId idOf(Handle handle);
    std::string text(std::string_view raw) const;
    void warn(std::size_t line, const std::string& message);
    SourceSpan spanOf(const DxfRecord& record) const;
    // Values of modelled fields; a value that is not a number is an error naming its line.
    double num(const DxfTag& tag) const;
    long long integer(const DxfTag& tag) const;
    bool pointPart(const DxfTag& tag, int base, Point3d& p) const;
    bool vectorPart(const DxfTag& tag, int base, Vector3d& v) const;
    // Fills a hatch from its AcDbHatch part; false when the tags are not in the expected order.
    bool readHatch(const DxfRecordParts& parts, Hatch& hatch, DxfExtraTags& extras);

    DxfDocument& doc_;
    DxfDrawing out_;
    Database* db_ = nullptr;
    int version_ = 0;
    std::uint64_t syntheticHandle_ = 0;
    std::vector<ObjectId> regenerate_;  // read objects whose text must be generated anew
    // Reused per entity: [0] for the entity, [1] for what follows it (attributes, vertices).
    std::vector<DxfTag> scratchTags_[2];
    DxfRecordParts scratchParts_[2];
};

}  // namespace cad
