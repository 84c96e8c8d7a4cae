// Builds the database from the document, handing each record to the codec of its name (kept
// whole when there is none). Invariants: every object keeps the span of text it was read from,
// so an unmodified one is written back byte for byte; while the document is still being scanned
// the read follows the scan, and it starts over from the whole, repaired document as soon as the
// scan repairs anything or a handle would have to be invented.
#include "engine/dxf/DxfDatabaseReader.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Dictionary.h"
#include "engine/db/Hatch.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/Line.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/Polyline.h"
#include "engine/db/SortentsTable.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/Text.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/UnknownEntity.h"
#include "engine/db/UnknownObject.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/db/XData.h"
#include "engine/dxf/DxfError.h"
#include "engine/dxf/DxfFile.h"
#include "engine/dxf/tags/DxfRecordParts.h"
#include "engine/dxf/DxfStructureRepair.h"
#include "engine/dxf/codecs/DxfCodec.h"

namespace cad {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

std::string trimmed(const DxfTag& t) { return std::string(trimDxfBlanks(t.value)); }

Color colorFromIndex(long long index) {
    if (index < 0) index = -index;
    if (index > 256) index = 256;
    return Color::fromIndex(static_cast<int>(index));
}

std::optional<TableKind> tableKindOf(std::string_view name) {
    static constexpr std::pair<std::string_view, TableKind> kinds[] = {
        {"VPORT", TableKind::Viewport}, {"LTYPE", TableKind::Linetype}, {"LAYER", TableKind::Layer},
        {"STYLE", TableKind::TextStyle}, {"VIEW", TableKind::View},       {"UCS", TableKind::Ucs},
        {"APPID", TableKind::RegApp},    {"DIMSTYLE", TableKind::DimStyle}, {"BLOCK_RECORD", TableKind::Block},
    };
    for (auto [n, k] : kinds)
        if (n == name) return k;
    return std::nullopt;
}


}  // namespace

DxfDatabaseReader::DxfDatabaseReader(DxfDocument& document) : doc_(document) {}

double DxfDatabaseReader::num(const DxfTag& t) const {
    double v = 0;
    if (parseDxfDouble(t.value, v)) return v;
    throw DxfError(doc_.fileName(), t.line + 1,
                   "group code " + std::to_string(t.code) + " needs a number, found '" +
                       std::string(trimDxfBlanks(t.value).substr(0, 40)) + "'");
}

long long DxfDatabaseReader::integer(const DxfTag& t) const {
    std::int64_t v = 0;
    if (parseDxfInt(t.value, v)) return v;
    double d = 0;
    if (parseDxfDouble(t.value, d) && d == std::floor(d) && std::fabs(d) < 9.2e18) return static_cast<long long>(d);
    throw DxfError(doc_.fileName(), t.line + 1,
                   "group code " + std::to_string(t.code) + " needs an integer, found '" +
                       std::string(trimDxfBlanks(t.value).substr(0, 40)) + "'");
}

void DxfDatabaseReader::warn(std::size_t line, const std::string& message) {
    out_.warnings.push_back(terminalSafe(line > 0 ? "line " + std::to_string(line) + ": " + message : message));
}

std::string DxfDatabaseReader::text(std::string_view raw) const { return doc_.codePage().decode(raw); }

std::string DxfDatabaseReader::textValue(std::string_view raw) const {
    return doc_.codePage().decodeValue(raw);
}

SourceSpan DxfDatabaseReader::spanOf(const DxfRecord& record) const {
    if (record.changed()) {
        const std::string_view text = doc_.text(record);
        return SourceSpan{std::make_shared<const SourceText>(std::string(text)), 0, text.size()};
    }
    return SourceSpan{doc_.buffer(), record.offset, record.length};
}

ObjectId DxfDatabaseReader::idOf(Handle handle) { return handle.isNull() ? ObjectId() : db_->reserveId(handle); }

DxfDrawing DxfDatabaseReader::read() {
    if (doc_.scanning()) {
        streaming_ = true;
        try {
            return readSections();
        } catch (const Restart&) {
        } catch (const DxfError&) {
            // An error of the text itself is the same either way; one of the reader's might be
            // mended by the repairs of the whole document.
            if (doc_.scanFailed()) throw;
        }
        streaming_ = false;
        // Records read along may have been dropped: the whole document is the text read again.
        if (doc_.droppedRecords()) {
            std::shared_ptr<const SourceText> text = doc_.buffer();
            std::string fileName = doc_.fileName();
            doc_ = DxfDocument::open(std::move(text), std::move(fileName));
        }
        doc_.finishScan();
        out_ = DxfDrawing{};
        regenerate_.clear();
    }
    return readSections();
}

bool DxfDatabaseReader::has(std::size_t k) {
    while (streaming_ && doc_.sections()[section_].end() <= k && doc_.sectionOpen(section_)) scanMore();
    const DxfSection& section = doc_.sections()[section_];
    if (k >= section.end()) return false;
    // What came before record k has been read into objects.
    doc_.releaseBefore(section.at(k).offset);
    return true;
}

void DxfDatabaseReader::readUpTo(std::size_t k) {
    if (streaming_) doc_.dropRecordsBefore(section_, k);
}

void DxfDatabaseReader::scanMore() {
    doc_.scanMore();
    if (!doc_.pristine()) throw Restart{};
}

Handle DxfDatabaseReader::syntheticHandle() {
    // While scanning, the highest handle of the file is not known yet.
    if (streaming_) throw Restart{};
    return Handle(doc_.newHandle());
}

DxfDrawing DxfDatabaseReader::readSections() {
    out_.database = std::make_unique<Database>();
    db_ = out_.database.get();
    layers_.clear();
    blocks_.clear();
    styles_.clear();
    recentLayers_ = {};
    recentStyles_ = {};
    recentBlocks_ = {};
    if (!streaming_) {
        out_.warnings = doc_.warnings();
        version_ = doc_.versionNumber();
        std::size_t records = 0;
        for (const DxfSection& s : doc_.sections()) records += s.records.size();
        db_->reserveObjects(records + 64);
    } else {
        // Records of real drawings average 150 to 500 bytes; the tables grow if this is short.
        db_->reserveObjects(doc_.buffer()->size() / 100 + 64);
    }

    // Blocks, entities and objects name records of the tables: tables written after them are read
    // first, so that the names find the records of the file, not ones made up meanwhile (a model
    // space made up took its entities with it when the file's block table replaced it).
    const auto namesTables = [](const std::string& name) {
        return name == "BLOCKS" || name == "ENTITIES" || name == "OBJECTS";
    };
    std::vector<std::size_t> order;
    if (!streaming_) {
        const auto& sections = doc_.sections();
        order.resize(sections.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        const auto firstNaming =
            std::find_if(order.begin(), order.end(), [&](std::size_t k) { return namesTables(sections[k].name); });
        std::stable_partition(firstNaming, order.end(), [&](std::size_t k) { return sections[k].name == "TABLES"; });
    }
    bool namingRead = false;
    for (std::size_t n = 0;; ++n) {
        if (streaming_) {
            section_ = n;
            while (doc_.sections().size() <= section_ && doc_.scanMore())
                if (!doc_.pristine()) throw Restart{};
            if (section_ >= doc_.sections().size()) break;
        } else {
            if (n >= order.size()) break;
            section_ = order[n];
        }
        const std::string name = doc_.sections()[section_].name;
        if (streaming_ && name != "HEADER") {
            version_ = doc_.versionNumber();
            if (version_ < kDxfR2000) throw Restart{};
            if (name == "TABLES" && namingRead) throw Restart{};
        }
        namingRead = namingRead || namesTables(name);
        if (name == "HEADER") readHeader();
        else if (name == "TABLES") readTables();
        else if (name == "BLOCKS") readBlocks();
        else if (name == "ENTITIES") readEntities();
        else if (name == "OBJECTS") readObjects();
        else {
            while (streaming_ && doc_.sectionOpen(section_)) scanMore();
            // Kept as text, from its SECTION line to its ENDSEC line.
            const DxfSection& s = doc_.sections()[section_];
            const std::size_t end = s.endLength > 0 ? s.endOffset + s.endLength : s.headOffset + s.headLength;
            out_.file.rawSections.push_back({s.name, SourceSpan{doc_.buffer(), s.headOffset, end - s.headOffset}});
            bool replaced = false;
            for (const DxfRecord& r : s.records) replaced = replaced || r.changed();
            if (replaced) warn(s.line, "repairs inside section " + s.name + " are not kept");
        }
    }
    if (streaming_) {
        doc_.finishScan();
        if (!doc_.pristine()) throw Restart{};
        // A file of nothing but a header has not told its version yet.
        version_ = doc_.versionNumber();
        if (version_ < kDxfR2000) throw Restart{};
        streaming_ = false;
        out_.readInOnePass = true;
    }
    out_.file.version = doc_.version();
    out_.file.codePage = doc_.codePage().name();
    out_.file.lineEnding = std::string(doc_.lineEnding());
    out_.file.fileName = doc_.fileName();
    ensureLayoutBlocks();
    if (Handle(doc_.maxHandle() + 1) > db_->handseed()) db_->setHandseed(Handle(doc_.maxHandle() + 1));
    db_->clearModifiedFlags();
    for (ObjectId id : regenerate_)
        if (DbObject* o = db_->objectAt(id)) o->setModified(true);
    // Repairs and additions come after, so that what they touch is written anew.
    completeDrawingStructure(*db_, version_ >= kDxfR2000, out_.warnings);
    return std::move(out_);
}

void DxfDatabaseReader::readHeader() {
    for (std::size_t i = 0; has(i); ++i) {
        const auto tags = doc_.tags(rec(i));
        if (tags.empty() || tags[0].code != 9) continue;
        RawTagList values;
        for (std::size_t k = 1; k < tags.size(); ++k) values.push_back(rawTag(tags[k]));
        db_->header().set(trimDxfBlanks(tags[0].value), std::move(values));
    }
}

void DxfDatabaseReader::finishObject(DbObject& object, const DxfRecord& record, const DxfRecordParts& parts) {
    const SourceSpan span = spanOf(record);
    db_->keepSource(span.text);
    object.setSource(span.text.get(), span.offset, span.length);
    if (!parts.xdict.isNull()) object.setExtensionDictionary(idOf(parts.xdict));
    for (Handle h : parts.reactors) object.addReactor(idOf(h));
    if (!parts.lead.empty())
        object.editExtraTags().insert(object.editExtraTags().begin(), parts.lead.begin(), parts.lead.end());
    if (!parts.xdata.empty()) {
        RawTagList xdata = parts.xdata;
        for (RawTag& t : xdata)
            if (t.code == 1000) t.value = textValue(t.value);
            else if (t.code == 1001 || t.code == 1003) t.value = text(t.value);
        XDataChain chain;
        std::string error;
        if (xdataFromTags(xdata, chain, &error)) {
            object.setXDataChain(std::move(chain));
        } else {
            warn(record.line, std::string(record.type()) + ": extended data kept as read (" + error + ")");
            RawTagList& extra = object.editExtraTags();
            extra.push_back(RawTag{100, "*XDATA"});
            extra.insert(extra.end(), parts.xdata.begin(), parts.xdata.end());
        }
    }
    object.compact();
}

void DxfDatabaseReader::readTables() {
    SymbolTable* table = nullptr;
    TableKind kind = TableKind::Layer;
    for (std::size_t i = 0; has(i); ++i) {
        const DxfRecord r = rec(i);
        const auto tags = doc_.tags(r);
        DxfRecordParts parts = splitDxfRecord(tags);
        if (r.type() == "TABLE") {
            std::string name;
            for (const DxfTag& t : tags) {
                if (t.code == 2) {
                    name = trimmed(t);
                    break;
                }
            }
            const auto k = tableKindOf(name);
            if (!k) {
                // An unknown table: kept as text up to and including its ENDTAB.
                std::size_t j = i;
                while (has(j) && rec(j).type() != "ENDTAB") ++j;
                // Handles made unique by the document live in the records' new text, and a table
                // continued in a repeated TABLES section is not one stretch of the file.
                bool piecewise = false;
                for (std::size_t k = i; k <= j && has(k); ++k)
                    piecewise = piecewise || rec(k).changed() ||
                                (k > i && rec(k).offset != rec(k - 1).offset + rec(k - 1).length);
                if (piecewise) {
                    std::string raw;
                    for (std::size_t k = i; k <= j && has(k); ++k) raw.append(doc_.text(rec(k)));
                    const std::size_t size = raw.size();
                    out_.file.rawTables.push_back(
                        SourceSpan{std::make_shared<const SourceText>(std::move(raw)), 0, size});
                } else {
                    const std::size_t end = has(j) ? rec(j).offset + rec(j).length : r.offset + r.length;
                    out_.file.rawTables.push_back(SourceSpan{doc_.buffer(), r.offset, end - r.offset});
                }
                warn(r.line, "table " + name + " is not a standard table; kept as read");
                i = j;
                table = nullptr;
                continue;
            }
            kind = *k;
            auto t = std::make_unique<SymbolTable>(kind);
            SymbolTable* raw = t.get();
            for (const DxfTag& tg : parts.body)
                if (tg.code == 70) raw->declaredCount = static_cast<int>(integer(tg));
            DxfExtraTags extras(raw->editExtraTags(), parts.body);
            bool marked = false;
            for (const DxfTag& tg : parts.body) {
                if (tg.code == 100) {
                    marked = true;
                    extras.marker(trimDxfBlanks(tg.value), tg.value == "AcDbSymbolTable");
                } else if (tg.code != 2 && tg.code != 70) {
                    // In a head without markers, the name is written before the handle: a tag kept
                    // after the name would move in front of the handle, and behind it on the save
                    // after. Such tags go with the head's other strays, after the handle.
                    if (marked) extras.add(tg);
                    else extras.add(rawTag(tg));
                }
            }
            // The table's name stands before its subclass marker; it is written from the table's
            // kind, so keeping it too would add one more on every save.
            const auto named =
                std::find_if(parts.lead.begin(), parts.lead.end(), [](const RawTag& t) { return t.code == 2; });
            if (named != parts.lead.end()) parts.lead.erase(named);
            finishObject(*raw, r, parts);
            Handle h = parts.handle.isNull() ? syntheticHandle() : parts.handle;
            ObjectId id;
            if (db_->addObject(std::move(t), {}, h, &id) != ErrorStatus::eOk) {
                throw DxfError(doc_.fileName(), r.line, "table " + name + " cannot be added");
            }
            if (db_->tableId(kind)) warn(r.line, "table " + name + " appears twice; the second one is used");
            db_->setTableId(kind, id);
            table = static_cast<SymbolTable*>(db_->objectAt(id));
            continue;
        }
        if (r.type() == "ENDTAB") {
            table = nullptr;
            continue;
        }
        if (!table) continue;  // the document layer already restored lost table heads
        if (r.type() != SymbolTable::tableName(kind)) {
            warn(r.line, std::string(r.type()) + " inside table " + std::string(SymbolTable::tableName(kind)) +
                             " dropped");
            continue;
        }

        DxfRecordRead read(*this, r, tags, parts);
        for (const DxfTag& t : parts.body) {
            if (t.code == 2) {
                read.name = text(t.value);
                break;
            }
        }
        const std::string& name = read.name;
        std::unique_ptr<SymbolTableRecord> rec;
        if (const DxfCodec* codec = dxfCodec(DxfCodecSection::TableRecord, r.type())) {
            rec.reset(static_cast<SymbolTableRecord*>(codec->read(read).release()));
        } else {
            rec = std::make_unique<OtherTableRecord>(kind, name);
            for (const DxfTag& t : parts.body)
                if (!read.commonRecord(t)) read.extras.add(t);
        }
        const int flags = read.flags;
        RawTagList& extraTags = read.extraTags;
        if (!extraTags.empty()) rec->editExtraTags() = std::move(extraTags);
        rec->setFlags(flags);
        finishObject(*rec, r, parts);
        rec->setDxfName(r.type());
        if (kind == TableKind::Block && table->getAt(rec->name())) {
            // BLOCK and INSERT find a block by name: a second record of that name could never
            // get its definition and would be given a new one on every save.
            warn(r.line, "BLOCK_RECORD " + name + " repeats the name of another block record; dropped");
            continue;
        }
        Handle h = parts.handle.isNull() ? syntheticHandle() : parts.handle;
        ObjectId id;
        // Validation is off: damaged names and duplicates are kept as read.
        if (ErrorStatus es = table->add(std::move(rec), &id, h, false); es != ErrorStatus::eOk) {
            warn(r.line, std::string(r.type()) + " " + name + " dropped (" + statusText(es) + ")");
        }
    }
}

void DxfDatabaseReader::ensureLayoutBlocks() {
    // A drawing needs its model space; R12 files and damaged ones may lack the records.
    for (const char* name : {"*Model_Space", "*Paper_Space"})
        if (!db_->recordId(TableKind::Block, name)) blockByName(name, 0);
}

ObjectId DxfDatabaseReader::layerByName(std::string_view raw, std::size_t line) {
    if (const auto id = recentLayers_.findIn(layers_, raw)) return *id;
    if (raw.empty() && version_ >= kDxfR2000) warn(line, "entity without a layer put on layer 0");
    const std::string name = raw.empty() ? std::string("0") : text(raw);
    if (ObjectId id = db_->recordId(TableKind::Layer, name)) {
        if (!raw.empty()) layers_.emplace(raw, id);
        return id;
    }
    if (!db_->layerTableId()) {
        ObjectId id;
        db_->addObject(std::make_unique<SymbolTable>(TableKind::Layer), {}, syntheticHandle(), &id);
        db_->setTableId(TableKind::Layer, id);
    }
    auto* table = static_cast<SymbolTable*>(db_->objectAt(db_->layerTableId()));
    ObjectId id;
    auto layer = std::make_unique<LayerTableRecord>(name);
    layer->setColor(Color::fromIndex(7));
    table->add(std::move(layer), &id, syntheticHandle(), false);
    // R12 files need not list their layers; anything else is damage worth a note.
    if (version_ >= kDxfR2000 && !name.empty()) warn(line, "layer " + name + " was not defined; added");
    return id;
}

ObjectId DxfDatabaseReader::textStyleByName(std::string_view raw) {
    if (const auto id = recentStyles_.findIn(styles_, raw)) return *id;
    const ObjectId id = db_->recordId(TableKind::TextStyle, text(raw));
    if (id) styles_.emplace(raw, id);
    return id;
}

ObjectId DxfDatabaseReader::blockByName(const std::string& name, std::size_t line) {
    if (const auto id = recentBlocks_.findIn(blocks_, name)) return *id;
    const ObjectId id = findOrAddBlock(name, line);
    blocks_.emplace(name, id);
    return id;
}

ObjectId DxfDatabaseReader::findOrAddBlock(const std::string& name, std::size_t line) {
    std::string key = name;
    // R12 names the layout blocks $MODEL_SPACE / $PAPER_SPACE, unless a record has that very name.
    if (ObjectId id = db_->recordId(TableKind::Block, key)) return id;
    if (key == "$MODEL_SPACE") key = "*Model_Space";
    if (key == "$PAPER_SPACE") key = "*Paper_Space";
    if (ObjectId id = db_->recordId(TableKind::Block, key)) return id;
    if (!db_->blockTableId()) {
        ObjectId id;
        db_->addObject(std::make_unique<SymbolTable>(TableKind::Block), {}, syntheticHandle(), &id);
        db_->setTableId(TableKind::Block, id);
    }
    auto* table = static_cast<SymbolTable*>(db_->objectAt(db_->blockTableId()));
    ObjectId id;
    table->add(std::make_unique<BlockTableRecord>(key), &id, syntheticHandle(), false);
    if (version_ >= kDxfR2000 && line > 0) warn(line, "block " + key + " had no block record; added");
    return id;
}

ObjectId DxfDatabaseReader::ownerBlockFor(const DxfRecordParts& parts, bool paperSpace) const {
    if (!parts.owner.isNull()) {
        ObjectId id;
        if (db_->getObjectId(id, parts.owner) == ErrorStatus::eOk) {
            if (const DbObject* o = db_->objectAt(id); o && o->kind() == ObjectKind::BlockTableRecord) {
                const auto* btr = static_cast<const BlockTableRecord*>(o);
                // Entities of the ENTITIES section belong to the layout blocks only.
                if (btr->isModelSpace() || btr->name() == "*Paper_Space" || btr->name() == "*PAPER_SPACE")
                    return id;
            }
        }
    }
    return paperSpace ? db_->paperSpaceId() : db_->modelSpaceId();
}

void DxfDatabaseReader::readBlocks() {
    ensureLayoutBlocks();
    ObjectId block;
    std::size_t blockLine = 0;
    auto unended = [&](const std::string& where) {
        const auto* open = static_cast<const BlockTableRecord*>(db_->objectAt(block));
        warn(blockLine, "block " + open->name() + " has no ENDBLK; it ends " + where);
    };
    for (std::size_t i = 0; has(i);) {
        const DxfRecord r = rec(i);
        if (r.type() == "BLOCK") {
            if (block) unended("where the next BLOCK starts, at line " + std::to_string(r.line));
            blockLine = r.line;
            const auto tags = doc_.tags(r);
            const DxfRecordParts parts = splitDxfRecord(tags);
            std::string name;
            for (const DxfTag& t : parts.body)
                if (t.code == 2) {
                    name = text(t.value);
                    break;
                }
            block = blockByName(name, r.line);
            auto* btr = static_cast<BlockTableRecord*>(db_->objectAt(block));
            if (btr->blockBeginId()) {
                // The first definition keeps its BLOCK and ENDBLK; the entities of both are kept.
                warn(r.line, "block " + btr->name() +
                                 " is defined again; its entities are joined to the first definition");
                ++i;
                continue;
            }
            auto begin = std::make_unique<BlockBegin>();
            DxfExtraTags extras(begin->editExtraTags(), parts.body);
            std::string_view layer = "0";
            Point3d base;
            for (const DxfTag& t : parts.body) {
                if (t.code == 100) extras.marker(trimDxfBlanks(t.value), isModelledSubclassMarker(trimDxfBlanks(t.value)));
                else if (t.code == 8) layer = t.value;
                else if (t.code == 2 || t.code == 3 || t.code == 67) continue;
                else if (t.code == 70) btr->setBlockFlags(static_cast<int>(integer(t)));
                else if (pointPart(t, 10, base)) continue;
                else if (t.code == 1) btr->setPathName(text(t.value));
                else if (t.code == 4) btr->setComments(text(t.value));
                else extras.add(t);
            }
            btr->setOrigin(base);
            begin->setLayer(layerByName(layer, r.line));
            finishObject(*begin, r, parts);
            ObjectId id;
            db_->addObject(std::move(begin), block, parts.handle.isNull() ? syntheticHandle() : parts.handle,
                           &id);
            btr->setBlockBeginId(id);
            ++i;
            continue;
        }
        if (r.type() == "ENDBLK") {
            const auto tags = doc_.tags(r);
            const DxfRecordParts parts = splitDxfRecord(tags);
            auto end = std::make_unique<BlockEnd>();
            DxfExtraTags extras(end->editExtraTags(), parts.body);
            std::string_view layer = "0";
            for (const DxfTag& t : parts.body) {
                if (t.code == 100) extras.marker(trimDxfBlanks(t.value), isModelledSubclassMarker(trimDxfBlanks(t.value)));
                else if (t.code == 8) layer = t.value;
                else if (t.code != 67) extras.add(t);
            }
            end->setLayer(layerByName(layer, r.line));
            finishObject(*end, r, parts);
            if (!block) {
                warn(r.line, "ENDBLK without BLOCK dropped");
                ++i;
                continue;
            }
            auto* owner = static_cast<BlockTableRecord*>(db_->objectAt(block));
            if (owner->blockEndId()) {
                block = ObjectId();
                ++i;
                continue;
            }
            ObjectId id;
            db_->addObject(std::move(end), block, parts.handle.isNull() ? syntheticHandle() : parts.handle,
                           &id);
            static_cast<BlockTableRecord*>(db_->objectAt(block))->setBlockEndId(id);
            block = ObjectId();
            ++i;
            continue;
        }
        if (!block) {
            warn(r.line, std::string(r.type()) + " outside a block definition dropped");
            ++i;
            continue;
        }
        i = readEntity(i, block);
        readUpTo(i);
    }
    if (block) unended("with the section");
}

void DxfDatabaseReader::readEntities() {
    ensureLayoutBlocks();
    // A null block lets readEntity place each entity by its owner and paper-space flag.
    for (std::size_t i = 0; has(i);) {
        i = readEntity(i, ObjectId());
        readUpTo(i);
    }
}

std::unique_ptr<Entity> DxfDatabaseReader::makeEntity(const DxfRecord& record, const std::vector<DxfTag>& all,
                                                      const DxfRecordParts& parts) {
    DxfRecordRead read(*this, record, all, parts);
    const DxfCodec* codec = dxfCodec(DxfCodecSection::Entity, record.type());
    std::unique_ptr<Entity> entity(static_cast<Entity*>((codec ? codec->read(read) : readUnknownEntity(read)).release()));
    if (!read.extraTags.empty()) entity->editExtraTags() = std::move(read.extraTags);
    if (entity->kind() != ObjectKind::UnknownEntity) {
        entity->setColor(read.trueColor ? Color::fromTrueColorValue(*read.trueColor) : colorFromIndex(read.colorIndex));
        const std::string& linetype = read.linetype;
        if (!linetype.empty() && linetype != "BYLAYER" && linetype != "ByLayer") {
            if (ObjectId lt = db_->recordId(TableKind::Linetype, linetype)) entity->setLinetype(lt);
            else warn(record.line, std::string(record.type()) + " names linetype " + linetype + ", which does not exist");
        }
    }
    entity->setLayer(layerByName(read.layer, record.line));
    return entity;
}

std::size_t DxfDatabaseReader::readEntity(std::size_t i, ObjectId block) {
    const DxfRecord r = rec(i);
    // Buffers kept between calls: a drawing has hundreds of thousands of entities.
    doc_.tags(r, scratchTags_[0]);
    splitDxfRecord(scratchTags_[0], scratchParts_[0]);
    const DxfRecordParts& parts = scratchParts_[0];
    const Handle handle = parts.handle.isNull() ? syntheticHandle() : parts.handle;
    bool ownerRepaired = false;
    if (!block) {
        bool paper = false;
        for (const DxfTag& t : parts.body)
            if (t.code == 67) paper = integer(t) == 1;
        block = ownerBlockFor(parts, paper);
        // A missing or wrong owner is written anew (R12 entities have none and are generated anyway).
        ownerRepaired = version_ >= kDxfR2000 && parts.owner != db_->handleOf(block);
        if (ownerRepaired && !parts.owner.isNull())
            warn(r.line, std::string(r.type()) + " #" + handle.toString() + " had owner #" + parts.owner.toString() +
                             "; set to #" + db_->handleOf(block).toString());
    }
    auto* btr = static_cast<BlockTableRecord*>(db_->objectAt(block));

    if (r.type() == "POLYLINE") {
        // Collect VERTEX ... SEQEND.
        std::size_t j = i + 1;
        while (has(j) && rec(j).type() == "VERTEX") ++j;
        const bool hasSeqend = has(j) && rec(j).type() == "SEQEND";
        long long flags = 0;
        for (const DxfTag& t : parts.body)
            if (t.code == 70) flags = integer(t);
        // A plain 2D polyline (no curve or spline fit, not 3D, no mesh) becomes a lightweight one.
        if ((flags & (2 | 4 | 8 | 16 | 64)) == 0) {
            auto e = std::make_unique<Polyline>();
            RawTagList unused;
            DxfExtraTags extras(unused);
            std::string_view layer = "0";
            long long color = 256;
            Vector3d n = Vector3d::zAxis();
            double elevation = 0, startWidth = 0, endWidth = 0;
            for (const DxfTag& t : parts.body) {
                if (t.code == 8) layer = t.value;
                else if (t.code == 62) color = integer(t);
                else if (t.code == 370) e->setLineWeight(static_cast<int>(integer(t)));
                else if (t.code == 30) elevation = num(t);
                else if (t.code == 39) e->setThickness(num(t));
                else if (t.code == 40) startWidth = num(t);
                else if (t.code == 41) endWidth = num(t);
                else if (vectorPart(t, 210, n)) continue;
            }
            std::vector<Polyline::Vertex> vertices;
            for (std::size_t k = i + 1; k < j; ++k) {
                Polyline::Vertex v;
                v.startWidth = startWidth;
                v.endWidth = endWidth;
                long long vflags = 0;
                doc_.tags(rec(k), scratchTags_[1]);
                for (const DxfTag& t : scratchTags_[1]) {
                    if (t.code == 10) v.point.x = num(t);
                    else if (t.code == 20) v.point.y = num(t);
                    else if (t.code == 40) v.startWidth = num(t);
                    else if (t.code == 41) v.endWidth = num(t);
                    else if (t.code == 42) v.bulge = num(t);
                    else if (t.code == 70) vflags = integer(t);
                }
                if ((vflags & 16) == 0) vertices.push_back(v);
            }
            e->setVertices(std::move(vertices));
            e->setClosed((flags & 1) != 0);
            e->setPlinegen((flags & 128) != 0);
            e->setElevation(elevation);
            e->setNormal(n);
            e->setColor(colorFromIndex(color));
            e->setLayer(layerByName(layer, r.line));
            if (!parts.xdict.isNull()) e->setExtensionDictionary(idOf(parts.xdict));
            if (!parts.xdata.empty()) {
                XDataChain chain;
                if (xdataFromTags(parts.xdata, chain)) e->setXDataChain(std::move(chain));
            }
            // No source text: it is written as LWPOLYLINE.
            ObjectId id;
            if (btr->appendEntity(std::move(e), &id, handle) != ErrorStatus::eOk)
                warn(r.line, "POLYLINE with a handle in use dropped");
            return hasSeqend ? j + 1 : j;
        }
        auto e = makeEntity(r, scratchTags_[0], parts);
        finishObject(*e, r, parts);
        ObjectId polyId;
        if (btr->appendEntity(std::move(e), &polyId, handle) != ErrorStatus::eOk) {
            warn(r.line, "POLYLINE with a handle in use dropped");
            return hasSeqend ? j + 1 : j;
        }
        auto* poly = static_cast<UnknownEntity*>(db_->objectAt(polyId));
        for (std::size_t k = i + 1; k < j + (hasSeqend ? 1 : 0); ++k) {
            const DxfRecord& child = rec(k);
            doc_.tags(child, scratchTags_[1]);
            splitDxfRecord(scratchTags_[1], scratchParts_[1]);
            const DxfRecordParts& cparts = scratchParts_[1];
            auto made = makeEntity(child, scratchTags_[1], cparts);
            finishObject(*made, child, cparts);
            ObjectId cid;
            const Handle ch = cparts.handle.isNull() ? syntheticHandle() : cparts.handle;
            if (db_->addObject(std::move(made), polyId, ch, &cid) == ErrorStatus::eOk) poly->children.push_back(cid);
            else warn(child.line, std::string(child.type()) + " with a handle in use dropped");
        }
        if (!hasSeqend) warn(r.line, "POLYLINE without SEQEND");
        return hasSeqend ? j + 1 : j;
    }

    if (r.type() == "ATTRIB" || r.type() == "SEQEND" || r.type() == "VERTEX") {
        // Kept, it would be taken for part of whatever entity it came to be written after.
        warn(r.line, std::string(r.type()) + " without its parent entity dropped");
        return i + 1;
    }
    auto e = makeEntity(r, scratchTags_[0], parts);
    finishObject(*e, r, parts);
    const bool isInsert = e->kind() == ObjectKind::BlockReference;
    ObjectId id;
    if (btr->appendEntity(std::move(e), &id, handle) != ErrorStatus::eOk) {
        warn(r.line, std::string(r.type()) + " with handle " + handle.toString() + " in use dropped");
        return i + 1;
    }
    if (ownerRepaired) regenerate_.push_back(id);
    std::size_t next = i + 1;
    if (isInsert) {
        auto* ref = static_cast<BlockReference*>(db_->objectAt(id));
        while (has(next) && rec(next).type() == "ATTRIB") {
            const DxfRecord& ar = rec(next);
            doc_.tags(ar, scratchTags_[1]);
            splitDxfRecord(scratchTags_[1], scratchParts_[1]);
            const DxfRecordParts& aparts = scratchParts_[1];
            auto a = makeEntity(ar, scratchTags_[1], aparts);
            finishObject(*a, ar, aparts);
            std::unique_ptr<Attribute> attribute(static_cast<Attribute*>(a.release()));
            const Handle ah = aparts.handle.isNull() ? syntheticHandle() : aparts.handle;
            if (ref->appendAttribute(std::move(attribute), nullptr, ah) != ErrorStatus::eOk)
                warn(ar.line, "ATTRIB with a handle in use dropped");
            ++next;
        }
        if (has(next) && rec(next).type() == "SEQEND") {
            const DxfRecord& sr = rec(next);
            doc_.tags(sr, scratchTags_[1]);
            splitDxfRecord(scratchTags_[1], scratchParts_[1]);
            const DxfRecordParts& sparts = scratchParts_[1];
            auto s = makeEntity(sr, scratchTags_[1], sparts);
            finishObject(*s, sr, sparts);
            ObjectId sid;
            const Handle sh = sparts.handle.isNull() ? syntheticHandle() : sparts.handle;
            if (db_->addObject(std::move(s), id, sh, &sid) == ErrorStatus::eOk) ref->setSequenceEndId(sid);
            ++next;
        } else if (!ref->attributeIds().empty()) {
            warn(r.line, "INSERT attributes without SEQEND; one is added");
        }
    }
    return next;
}

void DxfDatabaseReader::readObjects() {
    bool first = true;
    for (std::size_t i = 0; has(i); readUpTo(++i)) {
        const DxfRecord& r = rec(i);
        if (r.type().empty()) continue;
        const auto tags = doc_.tags(r);
        const DxfRecordParts parts = splitDxfRecord(tags);
        DxfRecordRead read(*this, r, tags, parts);
        std::unique_ptr<DbObject> object;
        if (const DxfCodec* codec = dxfCodec(DxfCodecSection::Object, r.type())) {
            object = codec->read(read);
        } else {
            auto u = std::make_unique<UnknownObject>(r.type());
            for (const DxfTag& t : parts.body) {
                if (t.code == 100) {
                    u->setClassName(std::string(trimDxfBlanks(t.value)));
                    break;
                }
            }
            for (std::size_t k = 1; k < tags.size(); ++k) u->tags.push_back(rawTag(tags[k]));
            object = std::move(u);
        }
        RawTagList& extraTags = read.extraTags;
        if (!extraTags.empty()) object->editExtraTags() = std::move(extraTags);
        finishObject(*object, r, parts);
        const Handle handle = parts.handle.isNull() ? syntheticHandle() : parts.handle;
        ObjectId id;
        const bool isDictionary = object->kind() == ObjectKind::Dictionary;
        if (db_->addObject(std::move(object), idOf(parts.owner), handle, &id) != ErrorStatus::eOk) {
            warn(r.line, std::string(r.type()) + " with handle " + handle.toString() + " in use dropped");
            continue;
        }
        out_.file.objectOrder.push_back(handle);
        if (first) {
            first = false;
            if (isDictionary) db_->setNamedObjectsDictionaryId(id);
            else warn(r.line, "the first object is not the root dictionary");
        }
    }
}

DxfDrawing readDxfDrawingText(std::string text, const std::string& fileName) {
    DxfDocument doc = DxfDocument::open(std::move(text), fileName);
    return DxfDatabaseReader(doc).read();
}

DxfDrawing readDxfDrawing(const std::string& path) {
    DxfDocument doc = DxfDocument::open(openDrawingText(path), path);
    return DxfDatabaseReader(doc).read();
}

}  // namespace cad
