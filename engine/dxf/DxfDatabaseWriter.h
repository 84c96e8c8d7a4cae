#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "engine/db/Database.h"
#include "engine/dxf/DxfCodePage.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodec.h"

namespace cad {

class DxfExtraGroups;
class Entity;
class UnknownEntity;

// Writes a Database as DXF text in the version it was read in (R2000 to R2018; R12 and older
// become R2000; new drawings R2018). Objects read from a file and not changed since are copied
// from their source text; the rest is generated in the tag order CAD programs expect.
class DxfDatabaseWriter : private DxfWriteServices {
public:
    using Sink = std::function<void(std::string_view)>;
    DxfDatabaseWriter(Database& database, const DxfFileInfo& file);
    std::string write();
    // Hands the text to `sink` in pieces as it is made, so that a large drawing is never held
    // twice in memory.
    void write(const Sink& sink);

private:
    void prepare();
    void writeHeader();
    void writeClasses();
    void writeTables();
    void writeBlocks();
    void writeEntities();
    void writeObjects();
    void writeEntityTree(ObjectId id);
    void writeObject(const DbObject& object);
    // Source text copied since the last piece went out, handed back once it has.
    void noteCopied(const SourceRef& span);
    void releaseCopied();
    void generate(const DbObject& object);
    void generateRecord(const DbObject& object);
    // R12 entities kept whole get the R2000 owner and subclass markers; false if not one of them.
    bool upgradeLegacyEntity(const UnknownEntity& entity);
    void commonHead(const DbObject& object, DxfExtraGroups& extras);
    void entityPart(const Entity& entity, DxfExtraGroups& extras);
    void extrasOf(DxfExtraGroups& extras, std::string_view subclass) override;
    void writeExtras(const RawTagList& tags);
    void restOf(DxfExtraGroups& extras);
    void xdata(const DbObject& object);
    // What the codecs use.
    void handleTag(int code, ObjectId id) override;
    std::string text(std::string_view utf8) const override { return codePage_.encode(utf8); }
    std::string textValue(std::string_view utf8) const override { return codePage_.encodeValue(utf8); }
    DxfTagWriter& tags() override { return w_; }
    const Database& database() const override { return db_; }
    int version() const override { return versionNumber_; }
    std::string handleText(ObjectId id) const;
    bool paperSpaceEntity(const Entity& entity) const;

    Database& db_;
    const DxfFileInfo& file_;
    std::string version_;
    int versionNumber_ = 0;
    bool verbatim_ = true;  // source text may be copied
    DxfCodePage codePage_;
    std::string out_;
    DxfTagWriter w_;
    std::unordered_set<std::uint32_t> written_;
    const Sink* sink_ = nullptr;
    const SourceText* copiedText_ = nullptr;
    std::size_t copiedFrom_ = 0, copiedTo_ = 0;
    bool placingExtras_ = false;  // extras being written are not anchors for others
};

}  // namespace cad
