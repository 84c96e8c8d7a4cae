#pragma once
// The codecs: for each DXF kind the reader builds as a class, its group codes read and written
// side by side (a file per kind or small family), found through one table by DXF name or by kind.
// A codec sees only the record it is given; the readers and the writer around it decide when a
// record is copied verbatim (unmodified, with source text) and when a read starts over.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/Handle.h"
#include "engine/db/ObjectId.h"
#include "engine/db/ObjectKind.h"
#include "engine/db/RawTags.h"
#include "engine/dxf/tags/DxfRecordParts.h"
#include "engine/dxf/tags/DxfTokenizer.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

class Database;
class DbObject;
class DxfTagWriter;
class Entity;
struct DxfRecord;

// What the database reader lends a codec while it reads one record.
class DxfReadServices {
public:
    virtual ~DxfReadServices() = default;
    virtual Database& database() = 0;
    virtual int version() const = 0;
    // Values of modelled fields; a value that is not a number is an error naming its line.
    virtual double num(const DxfTag& tag) const = 0;
    virtual long long integer(const DxfTag& tag) const = 0;
    // Text decoded from the file's code page; a value also from caret notation.
    virtual std::string text(std::string_view raw) const = 0;
    virtual std::string textValue(std::string_view raw) const = 0;
    virtual void warn(std::size_t line, const std::string& message) = 0;
    // The block record of that name, made (with a warning) when the file has none.
    virtual ObjectId blockByName(const std::string& name, std::size_t line) = 0;
    // The text style a style name (7) as written names; null when the drawing has none of it.
    virtual ObjectId textStyleByName(std::string_view raw) = 0;
    // The object a handle of the file names, reserved when it is not read yet.
    virtual ObjectId idOf(Handle handle) = 0;

    // Sets the x, y or z of a point (or vector) from codes base, base+10, base+20.
    // Inline: every tag of a record's body is offered to them, and most are not theirs.
    bool pointPart(const DxfTag& tag, int base, Point3d& p) const { return coordinate(tag, base, p.x, p.y, p.z); }
    bool vectorPart(const DxfTag& tag, int base, Vector3d& v) const { return coordinate(tag, base, v.x, v.y, v.z); }

private:
    bool coordinate(const DxfTag& tag, int base, double& x, double& y, double& z) const {
        if (tag.code == base) x = num(tag);
        else if (tag.code == base + 10) y = num(tag);
        else if (tag.code == base + 20) z = num(tag);
        else return false;
        return true;
    }
};

// One record being read: its tags and the extras kept for what no field holds. Entity codecs
// also fill the common (AcDbEntity) fields, which the reader applies once the entity is built;
// table record codecs get the record's name and take its flags.
class DxfRecordRead {
public:
    DxfRecordRead(DxfReadServices& services, const DxfRecord& record, const std::vector<DxfTag>& all,
                  const DxfRecordParts& parts);
    DxfRecordRead(const DxfRecordRead&) = delete;
    DxfRecordRead& operator=(const DxfRecordRead&) = delete;

    // Takes a tag of the common entity part (and subclass markers); false when it is not one.
    bool common(const DxfTag& tag, Entity& entity);
    // The same for a table record: name (2), flags (70) and markers.
    bool commonRecord(const DxfTag& tag);
    // A subclass marker, kept among the extras when the kind is not modelled.
    void marker(const DxfTag& tag);
    std::string_view type() const;

    DxfReadServices& in;
    const DxfRecord& record;
    const std::vector<DxfTag>& all;  // the whole record
    const DxfRecordParts& parts;
    RawTagList extraTags;
    DxfExtraTags extras;
    std::string_view layer = "0";  // as written: the reader decodes it once per layer
    std::string linetype;
    long long colorIndex = 256;
    std::optional<std::uint32_t> trueColor;
    std::string name;  // of a table record
    int flags = 0;     // of a table record
};

// What the writer lends a codec while it generates one record's subclass part.
class DxfWriteServices {
public:
    virtual ~DxfWriteServices() = default;
    virtual DxfTagWriter& tags() = 0;
    virtual const Database& database() const = 0;
    virtual int version() const = 0;
    // Text encoded for the file being written; a value's control characters in caret notation.
    virtual std::string text(std::string_view utf8) const = 0;
    virtual std::string textValue(std::string_view utf8) const = 0;
    virtual void handleTag(int code, ObjectId id) = 0;
    // Writes the extras read inside `subclass` that are not placed yet.
    virtual void extrasOf(DxfExtraGroups& extras, std::string_view subclass) = 0;

    void point(int base, const Point3d& p);
    void point(int base, const Vector3d& v);
};

// Records of the ENTITIES and BLOCKS sections, of the OBJECTS section and table records.
enum class DxfCodecSection : std::uint8_t { Entity, Object, TableRecord };

struct DxfCodec {
    // Builds the object from the record: an Entity, a table record or another object, as the
    // codec's section says.
    using Read = std::unique_ptr<DbObject> (*)(DxfRecordRead& read);
    // Writes the object's own subclasses: after AcDbEntity for an entity, after the head for an
    // object, after name and flags for a table record. The writer adds what remains of the
    // extras and the extended data.
    using Write = void (*)(DxfWriteServices& out, const DbObject& object, DxfExtraGroups& extras);
    DxfCodecSection section;
    std::string_view dxfName;
    ObjectKind kind;
    Read read;    // null: records of this name are kept whole
    Write write;
};

// The codec for a record name of a section (exact, upper case) or for a kind; null when there is
// none.
const DxfCodec* dxfCodec(DxfCodecSection section, std::string_view dxfName);
const DxfCodec* dxfCodec(ObjectKind kind);

// Subclass markers of the modelled kinds: kept among the extras only when extras follow them.
bool isModelledSubclassMarker(std::string_view marker);

// The fallback of every entity read: the record kept whole as an UnknownEntity, its layer read.
std::unique_ptr<DbObject> readUnknownEntity(DxfRecordRead& read);

}  // namespace cad
