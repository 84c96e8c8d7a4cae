// Writes the database as DXF text. Invariants: an object that is unmodified and has source text is
// copied verbatim, unless the file is R12 or newer than R2018 (then everything is generated); a
// BLOCK is generated when its block record changed; anything generated is laid out by the codec
// of its kind, with the tags no field models put back where they were read.
#include "engine/dxf/DxfDatabaseWriter.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>

#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Dictionary.h"
#include "engine/db/Group.h"
#include "engine/db/Hatch.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/Line.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/Polyline.h"
#include "engine/db/SortentsTable.h"
#include "engine/db/SymbolName.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TableStyle.h"
#include "engine/db/Text.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/UcsTableRecord.h"
#include "engine/db/UnknownEntity.h"
#include "engine/db/UnknownObject.h"
#include "engine/db/Viewport.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/db/XData.h"
#include "engine/db/XRecord.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfError.h"
#include "engine/dxf/DxfFile.h"
#include "engine/dxf/tags/DxfRecordParts.h"
#include "engine/dxf/tags/DxfTokenizer.h"
#include "engine/dxf/codecs/DxfCodec.h"

namespace cad {

namespace {

constexpr double kToDegrees = 180.0 / std::numbers::pi;

bool isTableSide(ObjectKind k) {
    switch (k) {
        case ObjectKind::SymbolTable:
        case ObjectKind::BlockTableRecord:
        case ObjectKind::LayerTableRecord:
        case ObjectKind::LinetypeTableRecord:
        case ObjectKind::TextStyleTableRecord:
        case ObjectKind::RegAppTableRecord:
        case ObjectKind::UcsTableRecord:
        case ObjectKind::ViewportTableRecord:
        case ObjectKind::OtherTableRecord: return true;
        default: return false;
    }
}

// CLASS entries for object types that are not built into the format, for drawings that have no
// CLASSES section of their own.
struct ClassDef {
    std::string_view dxfName, cppName;
    int flags;
    bool entity;
};
constexpr ClassDef kClasses[] = {
    {"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault", 0, false},
    {"ACDBPLACEHOLDER", "AcDbPlaceHolder", 0, false},
    {"LAYOUT", "AcDbLayout", 0, false},
    {"SORTENTSTABLE", "AcDbSortentsTable", 0, false},
    {"TABLESTYLE", "AcDbTableStyle", 4095, false},
    {"DICTIONARYVAR", "AcDbDictionaryVar", 0, false},
    {"MATERIAL", "AcDbMaterial", 1153, false},
    {"VISUALSTYLE", "AcDbVisualStyle", 4095, false},
    {"SCALE", "AcDbScale", 1153, false},
    {"MLEADERSTYLE", "AcDbMLeaderStyle", 4095, false},
    {"ACAD_TABLE", "AcDbTable", 1025, true},
};

}  // namespace

DxfDatabaseWriter::DxfDatabaseWriter(Database& database, const DxfFileInfo& file)
    : db_(database),
      file_(file),
      version_(file.version),
      versionNumber_(dxfVersionNumber(file.version)),
      codePage_(file.codePage, dxfVersionNumber(file.version) >= kDxfR2007),
      w_(out_, file.lineEnding.empty() ? std::string_view("\r\n") : std::string_view(file.lineEnding)) {
    if (versionNumber_ < kDxfR2000) {
        // R12 and older files are written as R2000, generated throughout.
        version_ = "AC1015";
        versionNumber_ = kDxfR2000;
        verbatim_ = false;
        codePage_ = DxfCodePage(file.codePage, false);
    } else if (versionNumber_ > kDxfR2018) {
        version_ = "AC1032";
        versionNumber_ = kDxfR2018;
        verbatim_ = false;
    }
}

std::string DxfDatabaseWriter::handleText(ObjectId id) const {
    if (!id) return "0";
    const Handle h = db_.handleOf(id);
    return h.isNull() ? "0" : h.toString();
}

void DxfDatabaseWriter::handleTag(int code, ObjectId id) { w_.string(code, handleText(id)); }

bool DxfDatabaseWriter::paperSpaceEntity(const Entity& entity) const {
    const DbObject* owner = db_.objectAt(entity.ownerId());
    if (!owner || owner->kind() != ObjectKind::BlockTableRecord) return false;
    return static_cast<const BlockTableRecord*>(owner)->isPaperSpace();
}

void DxfDatabaseWriter::prepare() {
    for (std::uint32_t i = 1; i < db_.slotCount(); ++i) {
        DbObject* o = db_.objectAt(ObjectId(i));
        if (!o || o->isErased()) continue;
        // Every application named in extended data must be registered.
        if (!o->xDataChain().empty()) {
            for (const std::string& app : xdataAppNames(o->xDataChain()))
                if (!db_.isApplicationRegistered(app)) (void)db_.registerApplication(app);
        }
        if (o->kind() == ObjectKind::BlockTableRecord) {
            auto* btr = static_cast<BlockTableRecord*>(o);
            ObjectId id;
            const ObjectId layer0 = db_.recordId(TableKind::Layer, "0");
            if (!btr->blockBeginId()) {
                auto begin = std::make_unique<BlockBegin>();
                begin->setLayer(layer0);
                db_.addObject(std::move(begin), btr->objectId(), {}, &id);
                btr->setBlockBeginId(id);
            }
            if (!btr->blockEndId()) {
                auto end = std::make_unique<BlockEnd>();
                end->setLayer(layer0);
                db_.addObject(std::move(end), btr->objectId(), {}, &id);
                btr->setBlockEndId(id);
            }
        } else if (o->kind() == ObjectKind::BlockReference) {
            auto* ref = static_cast<BlockReference*>(o);
            bool live = false;
            for (ObjectId a : ref->attributeIds()) {
                const DbObject* ao = db_.objectAt(a);
                live = live || (ao && !ao->isErased());
            }
            const DbObject* seq = db_.objectAt(ref->sequenceEndId());
            if (live && (!seq || seq->isErased())) {
                ObjectId id;
                db_.addObject(std::make_unique<SequenceEnd>(), ref->objectId(), {}, &id);
                if (auto* e = static_cast<Entity*>(db_.objectAt(id))) e->setLayer(ref->layerId());
                ref->setSequenceEndId(id);
            }
        }
    }
    HeaderVariables& h = db_.header();
    if (h.getString("$ACADVER").value_or("") != version_) h.setString("$ACADVER", 1, version_);
    const std::string seed = db_.handseed().toString();
    if (h.getString("$HANDSEED").value_or("") != seed) h.setString("$HANDSEED", 5, seed);
    if (!h.contains("$DWGCODEPAGE")) h.setString("$DWGCODEPAGE", 3, codePage_.name());
}

std::string DxfDatabaseWriter::write() {
    prepare();
    out_.reserve(4u << 20);
    writeHeader();
    writeClasses();
    writeTables();
    writeBlocks();
    writeEntities();
    writeObjects();
    for (const auto& s : file_.rawSections)
        if (s.name != "CLASSES") out_.append(s.text.view());
    w_.string(0, "EOF");
    return std::move(out_);
}

void DxfDatabaseWriter::write(const Sink& sink) {
    sink_ = &sink;
    std::string rest = write();
    sink_ = nullptr;
    if (!rest.empty()) sink(rest);
}

void DxfDatabaseWriter::writeHeader() {
    w_.string(0, "SECTION");
    w_.string(2, "HEADER");
    for (const auto& v : db_.header().variables()) {
        w_.string(9, v.name);
        for (const RawTag& t : v.tags) w_.string(t.code, t.value);
    }
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeClasses() {
    for (const auto& s : file_.rawSections) {
        if (s.name == "CLASSES" && verbatim_) {
            out_.append(s.text.view());
            return;
        }
    }
    std::vector<const ClassDef*> needed;
    for (const ClassDef& c : kClasses) {
        for (std::uint32_t i = 1; i < db_.slotCount(); ++i) {
            const DbObject* o = db_.objectAt(ObjectId(i));
            if (o && !o->isErased() && o->dxfName() == c.dxfName) {
                needed.push_back(&c);
                break;
            }
        }
    }
    w_.string(0, "SECTION");
    w_.string(2, "CLASSES");
    for (const ClassDef* c : needed) {
        w_.string(0, "CLASS");
        w_.string(1, c->dxfName);
        w_.string(2, c->cppName);
        w_.string(3, "ObjectDBX Classes");
        w_.integer(90, c->flags);
        if (versionNumber_ >= 1018) w_.integer(91, 0);
        w_.integer(280, 0);
        w_.integer(281, c->entity ? 1 : 0);
    }
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeTables() {
    w_.string(0, "SECTION");
    w_.string(2, "TABLES");
    for (std::size_t k = 0; k < kTableKindCount; ++k) {
        const ObjectId tid = db_.tableId(static_cast<TableKind>(k));
        const auto* table = static_cast<const SymbolTable*>(db_.objectAt(tid));
        if (!table || table->isErased()) continue;
        writeObject(*table);
        for (ObjectId id : table->recordIds()) {
            const DbObject* r = db_.objectAt(id);
            if (r && !r->isErased()) writeObject(*r);
        }
        w_.string(0, "ENDTAB");
    }
    if (verbatim_)
        for (const SourceSpan& t : file_.rawTables) out_.append(t.view());
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeBlocks() {
    w_.string(0, "SECTION");
    w_.string(2, "BLOCKS");
    const auto* table = static_cast<const SymbolTable*>(db_.objectAt(db_.blockTableId()));
    if (table) {
        for (ObjectId id : table->recordIds()) {
            const DbObject* record = db_.objectAt(id);
            if (!record || record->isErased() || record->kind() != ObjectKind::BlockTableRecord) continue;
            const auto* btr = static_cast<const BlockTableRecord*>(record);
            if (const DbObject* b = db_.objectAt(btr->blockBeginId())) {
                // BLOCK carries the record's name, flags and base point: regenerated with it.
                if (btr->isModified() && !b->isModified()) generate(*b);
                else writeObject(*b);
            }
            // The ENTITIES section holds these two, however the file spelled their names.
            const bool layoutBlock = btr->isModelSpace() || symbolNamesEqual(btr->name(), "*Paper_Space");
            if (!layoutBlock)
                for (ObjectId e : btr->entityIds()) writeEntityTree(e);
            if (const DbObject* e = db_.objectAt(btr->blockEndId())) writeObject(*e);
        }
    }
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeEntities() {
    w_.string(0, "SECTION");
    w_.string(2, "ENTITIES");
    for (ObjectId block : {db_.modelSpaceId(), db_.paperSpaceId()}) {
        const DbObject* record = db_.objectAt(block);
        if (!record || record->kind() != ObjectKind::BlockTableRecord) continue;
        const auto* btr = static_cast<const BlockTableRecord*>(record);
        for (ObjectId e : btr->entityIds()) writeEntityTree(e);
    }
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeEntityTree(ObjectId id) {
    const DbObject* o = db_.objectAt(id);
    if (!o || o->isErased()) return;
    writeObject(*o);
    if (o->kind() == ObjectKind::BlockReference) {
        const auto* ref = static_cast<const BlockReference*>(o);
        bool any = false;
        for (ObjectId a : ref->attributeIds()) {
            const DbObject* ao = db_.objectAt(a);
            if (!ao || ao->isErased()) continue;
            writeObject(*ao);
            any = true;
        }
        const DbObject* seq = db_.objectAt(ref->sequenceEndId());
        if (any && seq && !seq->isErased()) writeObject(*seq);
    } else if (o->kind() == ObjectKind::UnknownEntity) {
        for (ObjectId c : static_cast<const UnknownEntity*>(o)->children) {
            const DbObject* co = db_.objectAt(c);
            if (co && !co->isErased()) writeObject(*co);
        }
    }
}

void DxfDatabaseWriter::writeObjects() {
    w_.string(0, "SECTION");
    w_.string(2, "OBJECTS");
    auto emit = [&](ObjectId id) {
        const DbObject* o = db_.objectAt(id);
        if (!o || o->isErased() || o->isEntity() || isTableSide(o->kind())) return;
        if (!written_.insert(id.index()).second) return;
        writeObject(*o);
    };
    emit(db_.namedObjectsDictionaryId());
    for (Handle h : file_.objectOrder) {
        ObjectId id;
        if (db_.getObjectId(id, h) == ErrorStatus::eOk) emit(id);
    }
    for (std::uint32_t i = 1; i < db_.slotCount(); ++i) emit(ObjectId(i));
    w_.string(0, "ENDSEC");
}

void DxfDatabaseWriter::writeObject(const DbObject& object) {
    if (const SourceRef source = object.source(); verbatim_ && !object.isModified() && !source.empty()) {
        out_.append(source.view());
        noteCopied(source);
    } else {
        generate(object);
    }
    constexpr std::size_t kPiece = 1u << 20;
    if (sink_ && out_.size() >= kPiece) {
        (*sink_)(out_);
        out_.clear();
        releaseCopied();
    }
}

void DxfDatabaseWriter::noteCopied(const SourceRef& span) {
    if (span.text != copiedText_) {
        releaseCopied();
        copiedText_ = span.text;
        copiedFrom_ = span.offset;
        copiedTo_ = span.offset + span.length;
        return;
    }
    copiedFrom_ = std::min(copiedFrom_, span.offset);
    copiedTo_ = std::max(copiedTo_, span.offset + span.length);
}

void DxfDatabaseWriter::releaseCopied() {
    // Objects are written mostly in file order, so the range is about one piece long; text
    // inside it that is needed again is read back from the file.
    if (copiedText_) copiedText_->release(copiedFrom_, copiedTo_);
    copiedText_ = nullptr;
}

void DxfDatabaseWriter::extrasOf(DxfExtraGroups& extras, std::string_view subclass) {
    writeExtras(extras.take(subclass));
}

void DxfDatabaseWriter::writeExtras(const RawTagList& tags) {
    if (tags.empty()) return;
    const bool suspended = std::exchange(placingExtras_, true);
    for (const RawTag& t : tags) w_.string(t.code, t.value);
    placingExtras_ = suspended;
}

void DxfDatabaseWriter::restOf(DxfExtraGroups& extras) {
    const bool suspended = std::exchange(placingExtras_, true);
    for (const auto& [marker, tags] : extras.rest()) {
        if (marker == "*XDATA") continue;  // written with the extended data
        if (!marker.empty()) w_.string(100, marker);
        for (const RawTag& t : tags) w_.string(t.code, t.value);
    }
    placingExtras_ = suspended;
}

void DxfDatabaseWriter::xdata(const DbObject& object) {
    for (const RawTag& t : xdataToTags(object.xDataChain())) {
        // Application names are encoded like the APPID records that register them.
        if (t.code == 1000) w_.string(t.code, textValue(t.value));
        else if (t.code == 1001 || t.code == 1003) w_.string(t.code, text(t.value));
        else w_.string(t.code, t.value);
    }
    DxfExtraGroups extras(object.extraTags());
    extrasOf(extras, "*XDATA");
}

void DxfDatabaseWriter::commonHead(const DbObject& object, DxfExtraGroups& extras) {
    w_.string(0, object.dxfName());
    w_.string(object.dxfName() == "DIMSTYLE" ? 105 : 5, object.handle().toString());
    if (object.extensionDictionary()) {
        w_.string(102, "{ACAD_XDICTIONARY");
        handleTag(360, object.extensionDictionary());
        w_.string(102, "}");
    }
    if (!object.reactors().empty()) {
        w_.string(102, "{ACAD_REACTORS");
        for (ObjectId r : object.reactors()) handleTag(330, r);
        w_.string(102, "}");
    }
    // Other application groups keep their place before the owner. Stray tags of the head go after
    // it: a stray 330 written before it would be taken for the owner on the next read.
    RawTagList groups, strays;
    bool inGroup = false;
    for (RawTag& t : extras.take("")) {
        if (t.code == 102) {
            const std::string_view v = trimDxfBlanks(t.value);
            inGroup = inGroup ? v.empty() || v.back() != '}' : true;
        }
        (t.code == 102 || inGroup ? groups : strays).push_back(std::move(t));
    }
    writeExtras(groups);
    const bool ownerless = object.kind() == ObjectKind::SymbolTable || object.objectId() == db_.namedObjectsDictionaryId();
    w_.string(330, ownerless ? std::string("0") : handleText(object.ownerId()));
    writeExtras(strays);
}

void DxfDatabaseWriter::entityPart(const Entity& e, DxfExtraGroups& extras) {
    w_.string(100, "AcDbEntity");
    if (paperSpaceEntity(e)) w_.integer(67, 1);
    w_.string(8, text(e.layerName()));
    if (e.linetypeId()) w_.string(6, text(e.linetypeName()));
    const Color& c = e.color();
    if (c.isTrueColor()) {
        w_.integer(62, c.colorIndex());
        w_.integer(420, c.trueColorValue());
    } else if (!c.isByLayer()) {
        w_.integer(62, c.colorIndex());
    }
    if (e.lineWeight() != -1) w_.integer(370, e.lineWeight());
    if (e.linetypeScale() != 1.0) w_.real(48, e.linetypeScale());
    if (!e.isVisible()) w_.integer(60, 1);
    extrasOf(extras, "AcDbEntity");
}

namespace {
void pointTags(DxfTagWriter& w, int base, double x, double y, double z) {
    w.real(base, x);
    w.real(base + 10, y);
    w.real(base + 20, z);
}
}  // namespace

namespace {

// A value no DXF file can hold, with the record that held it named, so a planner can find it.
class UnwritableValue : public std::domain_error {
public:
    using std::domain_error::domain_error;
};

std::string describeRecord(const DbObject& o) {
    std::string text = o.dxfName().empty() ? std::string("object") : std::string(o.dxfName());
    text += " " + o.handle().toString();
    if (const auto* entity = dynamic_cast<const Entity*>(&o)) text += " on layer \"" + entity->layerName() + "\"";
    return text;
}

}  // namespace

void DxfDatabaseWriter::generate(const DbObject& o) {
    try {
        generateRecord(o);
    } catch (const UnwritableValue&) {
        throw;
    } catch (const std::domain_error& e) {
        throw UnwritableValue("cannot write " + describeRecord(o) + ": " + e.what());
    }
}

void DxfDatabaseWriter::generateRecord(const DbObject& o) {
    DxfExtraGroups extras(o.extraTags());
    // Extras read after a modelled tag are written after it again.
    RawTagList follow;
    const DxfTagWriter::Observer place = [&](int code, std::string_view value) {
        if (placingExtras_) return;
        follow.clear();
        extras.placeAfter(code, value, follow);
        if (follow.empty()) return;
        placingExtras_ = true;
        for (const RawTag& t : follow) w_.string(t.code, t.value);
        placingExtras_ = false;
    };
    struct Watch {
        DxfTagWriter& writer;
        ~Watch() { writer.setObserver(nullptr); }
    } watch{w_};
    if (!o.extraTags().empty()) w_.setObserver(&place);
    const ObjectKind kind = o.kind();

    if (kind == ObjectKind::UnknownEntity && upgradeLegacyEntity(static_cast<const UnknownEntity&>(o))) return;
    if (kind == ObjectKind::UnknownEntity || kind == ObjectKind::UnknownObject) {
        const RawTagList& tags = kind == ObjectKind::UnknownEntity ? static_cast<const UnknownEntity&>(o).tags
                                                                   : static_cast<const UnknownObject&>(o).tags;
        w_.string(0, o.dxfName());
        // The handle goes where readers look for it: the first handle tag of the head, outside
        // 102 groups, or right after the type when the record had none (an R12 record).
        const int handleCode = o.dxfName() == "DIMSTYLE" ? 105 : 5;
        const std::size_t handleAt = dxfHeadTag(tags, handleCode, 0);
        if (handleAt == tags.size()) w_.string(handleCode, o.handle().toString());
        // An entity's owner is the block it sits in, which a repair may have changed: its owner
        // tag (the first 330 of the head, outside 102 groups) is written from the model.
        // Groups as the reader takes them: from a 102 to the next 102 whose value ends in "}".
        // An owner written inside one, even one left open, would be read as part of the group.
        bool ownerDone = kind != ObjectKind::UnknownEntity;
        bool inGroup = false;
        for (std::size_t k = 0; k < tags.size(); ++k) {
            const RawTag& t = tags[k];
            if (t.code == 1001) break;
            if (k == handleAt) {
                w_.string(t.code, o.handle().toString());
                continue;
            }
            if (!ownerDone && t.code == 102) {
                inGroup = !inGroup || !trimDxfBlanks(t.value).ends_with("}");
            } else if (!ownerDone && t.code == 330 && !inGroup) {
                ownerDone = true;
                handleTag(330, o.ownerId());
                continue;
            } else if (!ownerDone && t.code == 100 && !inGroup) {
                ownerDone = true;
                handleTag(330, o.ownerId());
            }
            w_.string(t.code, t.value);
        }
        xdata(o);
        return;
    }

    if (kind == ObjectKind::SymbolTable) {
        const auto& t = static_cast<const SymbolTable&>(o);
        w_.string(0, "TABLE");
        w_.string(2, t.tableName());
        w_.string(5, o.handle().toString());
        if (o.extensionDictionary()) {
            w_.string(102, "{ACAD_XDICTIONARY");
            handleTag(360, o.extensionDictionary());
            w_.string(102, "}");
        }
        extrasOf(extras, "");
        w_.string(330, "0");
        w_.string(100, "AcDbSymbolTable");
        const int live = static_cast<int>(t.liveRecordIds().size());
        w_.integer(70, std::max(live, t.declaredCount));
        extrasOf(extras, "AcDbSymbolTable");
        if (t.tableKind() == TableKind::DimStyle && !extras.has("AcDbDimStyleTable")) {
            w_.string(100, "AcDbDimStyleTable");
            w_.integer(71, live);
            for (ObjectId id : t.liveRecordIds()) handleTag(340, id);
        }
        restOf(extras);
        xdata(o);
        return;
    }

    commonHead(o, extras);

    if (isTableSide(kind)) {
        const auto& r = static_cast<const SymbolTableRecord&>(o);
        w_.string(100, "AcDbSymbolTableRecord");
        extrasOf(extras, "AcDbSymbolTableRecord");
        const std::string marker(o.className());
        w_.string(100, marker);
        w_.string(2, text(r.name()));
        if (kind != ObjectKind::BlockTableRecord) w_.integer(70, r.flags());
        if (const DxfCodec* codec = dxfCodec(kind); codec && codec->write) codec->write(*this, o, extras);
        extrasOf(extras, marker);
        restOf(extras);
        xdata(o);
        return;
    }

    if (o.isEntity()) {
        const auto& e = static_cast<const Entity&>(o);
        if (kind == ObjectKind::BlockBegin) {
            // The BLOCK record shows the block record's own data.
            const DbObject* owner = db_.objectAt(o.ownerId());
            const auto* btr = owner && owner->kind() == ObjectKind::BlockTableRecord
                                  ? static_cast<const BlockTableRecord*>(owner)
                                  : nullptr;
            w_.string(100, "AcDbEntity");
            if (btr && btr->isPaperSpace()) w_.integer(67, 1);
            w_.string(8, text(e.layerName()));
            extrasOf(extras, "AcDbEntity");
            w_.string(100, "AcDbBlockBegin");
            const std::string name = btr ? text(btr->name()) : std::string();
            w_.string(2, name);
            w_.integer(70, btr ? btr->blockFlags() : 0);
            const Point3d base = btr ? btr->origin() : Point3d();
            pointTags(w_, 10, base.x, base.y, base.z);
            w_.string(3, name);
            w_.string(1, btr ? text(btr->pathName()) : std::string());
            if (btr && !btr->comments().empty()) w_.string(4, text(btr->comments()));
            extrasOf(extras, "AcDbBlockBegin");
            restOf(extras);
            xdata(o);
            return;
        }
        if (kind == ObjectKind::BlockEnd) {
            const DbObject* owner = db_.objectAt(o.ownerId());
            const bool paper = owner && owner->kind() == ObjectKind::BlockTableRecord &&
                               static_cast<const BlockTableRecord*>(owner)->isPaperSpace();
            w_.string(100, "AcDbEntity");
            if (paper) w_.integer(67, 1);
            w_.string(8, text(e.layerName()));
            extrasOf(extras, "AcDbEntity");
            w_.string(100, "AcDbBlockEnd");
            extrasOf(extras, "AcDbBlockEnd");
            restOf(extras);
            xdata(o);
            return;
        }
        entityPart(e, extras);
        if (const DxfCodec* codec = dxfCodec(kind); codec && codec->write) {
            codec->write(*this, o, extras);
        } else {
            w_.string(100, std::string(o.className()));
            extrasOf(extras, o.className());
        }
        restOf(extras);
        xdata(o);
        return;
    }

    if (const DxfCodec* codec = dxfCodec(kind); codec && codec->write) {
        codec->write(*this, o, extras);
    } else {
        w_.string(100, std::string(o.className()));
        extrasOf(extras, o.className());
    }
    restOf(extras);
    xdata(o);
}

namespace {

// The subclass markers an R12 entity gets in R2000, and which of its codes belong to the first.
std::vector<std::string> legacySubclasses(std::string_view type, long long flags) {
    if (type == "POINT") return {"AcDbPoint"};
    if (type == "SOLID" || type == "TRACE") return {"AcDbTrace"};
    if (type == "3DFACE") return {"AcDbFace"};
    if (type == "SHAPE") return {"AcDbShape"};
    if (type == "VIEWPORT") return {"AcDbViewport"};
    if (type == "POLYLINE") {
        if (flags & 8) return {"AcDb3dPolyline"};
        if (flags & 16) return {"AcDbPolygonMesh"};
        if (flags & 64) return {"AcDbPolyFaceMesh"};
        return {"AcDb2dPolyline"};
    }
    if (type == "VERTEX") {
        if ((flags & 128) && !(flags & 64)) return {"AcDbFaceRecord"};
        if (flags & 32) return {"AcDbVertex", "AcDb3dPolylineVertex"};
        if ((flags & 128) && (flags & 64)) return {"AcDbVertex", "AcDbPolyFaceMeshVertex"};
        if (flags & 64) return {"AcDbVertex", "AcDbPolygonMeshVertex"};
        return {"AcDbVertex", "AcDb2dVertex"};
    }
    if (type == "DIMENSION") {
        switch (flags & 7) {
            case 0: return {"AcDbDimension", "AcDbAlignedDimension", "AcDbRotatedDimension"};
            case 1: return {"AcDbDimension", "AcDbAlignedDimension"};
            case 2: return {"AcDbDimension", "AcDb2LineAngularDimension"};
            case 3: return {"AcDbDimension", "AcDbDiametricDimension"};
            case 4: return {"AcDbDimension", "AcDbRadialDimension"};
            case 5: return {"AcDbDimension", "AcDb3PointAngularDimension"};
            default: return {"AcDbDimension", "AcDbOrdinateDimension"};
        }
    }
    return {};
}

bool dimensionBaseCode(int code) {
    return code == 2 || code == 3 || code == 1 || (code >= 10 && code <= 12) || (code >= 20 && code <= 22) ||
           (code >= 30 && code <= 32) || (code >= 70 && code <= 72) || code == 41 || code == 42 || code == 51 ||
           code == 53 || (code >= 210 && code <= 230);
}

}  // namespace

bool DxfDatabaseWriter::upgradeLegacyEntity(const UnknownEntity& e) {
    for (const RawTag& t : e.tags)
        if (t.code == 100) return false;  // already R2000 form
    long long flags = 0;
    for (const RawTag& t : e.tags) {
        if (t.code == 70) {
            std::int64_t v = 0;
            if (parseDxfInt(t.value, v)) flags = v;
            break;
        }
    }
    const std::vector<std::string> subclasses = legacySubclasses(e.dxfName(), flags);
    if (subclasses.empty()) return false;
    w_.string(0, e.dxfName());
    w_.string(5, e.handle().toString());
    w_.string(330, handleText(e.ownerId()));
    w_.string(100, "AcDbEntity");
    if (paperSpaceEntity(e)) w_.integer(67, 1);
    w_.string(8, text(e.layerName()));
    auto body = [](const RawTag& t) {
        return t.code != 5 && t.code != 330 && t.code != 67 && t.code != 8 && t.code < 1000;
    };
    for (const RawTag& t : e.tags)
        if (body(t) && (t.code == 6 || t.code == 62 || t.code == 370 || t.code == 48 || t.code == 60))
            w_.string(t.code, t.value);
    auto rest = [&](bool first) {
        for (const RawTag& t : e.tags) {
            if (!body(t) || t.code == 6 || t.code == 62 || t.code == 370 || t.code == 48 || t.code == 60) continue;
            const bool inFirst = e.dxfName() != "DIMENSION" || dimensionBaseCode(t.code);
            if (inFirst == first) w_.string(t.code, t.value);
        }
    };
    w_.string(100, subclasses[0]);
    if (subclasses.size() == 1 || e.dxfName() != "DIMENSION") {
        for (std::size_t i = 1; i < subclasses.size(); ++i) w_.string(100, subclasses[i]);
        rest(true);
    } else {
        rest(true);
        for (std::size_t i = 1; i < subclasses.size(); ++i) w_.string(100, subclasses[i]);
        rest(false);
    }
    xdata(e);
    return true;
}

std::string writeDxfDrawing(Database& database, const DxfFileInfo& file) {
    return DxfDatabaseWriter(database, file).write();
}

void saveDxfDrawing(Database& database, const DxfFileInfo& file, const std::string& path) {
    DxfDatabaseWriter writer(database, file);
    writeFileAtomically(path, [&writer](const DxfDatabaseWriter::Sink& sink) { writer.write(sink); });
}

}  // namespace cad
