// Database-level repairs after a read: what an R2000+ drawing must hold is added when missing.
// Invariant: an object is only changed through its setters, so what a repair leaves as it was
// keeps its source text.
#include "engine/dxf/DxfStructureRepair.h"

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Dictionary.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/Layout.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/Placeholder.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TextStyleTableRecord.h"
#include "engine/db/ViewportTableRecord.h"

namespace cad {

namespace {

template <class T>
T* as(Database& db, ObjectId id) {
    return static_cast<T*>(db.objectAt(id));
}

// Dictionaries of a damaged file can name anything; only a real layout is taken as one.
Layout* layoutAt(Database& db, ObjectId id) {
    DbObject* o = db.objectAt(id);
    return o && o->kind() == ObjectKind::Layout ? static_cast<Layout*>(o) : nullptr;
}

class Repair {
public:
    Repair(Database& db, bool report, std::vector<std::string>& warnings)
        : db_(db), report_(report), warnings_(warnings) {}

    void note(const std::string& text) {
        if (report_) warnings_.push_back(text);
    }

    SymbolTable& table(TableKind kind) {
        if (!db_.tableId(kind)) {
            ObjectId id;
            db_.addObject(std::make_unique<SymbolTable>(kind), {}, {}, &id);
            db_.setTableId(kind, id);
            note(std::string("table ") + std::string(SymbolTable::tableName(kind)) + " was missing; added");
        }
        return *as<SymbolTable>(db_, db_.tableId(kind));
    }

    template <class R>
    ObjectId record(TableKind kind, std::string_view name) {
        SymbolTable& t = table(kind);
        if (ObjectId id = t.getAt(name)) return id;
        ObjectId id;
        t.add(std::make_unique<R>(name), &id, {}, false);
        note(std::string(SymbolTable::tableName(kind)) + " " + std::string(name) + " was missing; added");
        return id;
    }

    Dictionary& dictionary(Dictionary& parent, std::string_view key, const char* dxfName = "DICTIONARY") {
        ObjectId id = parent.getAt(key);
        // An entry naming something else (a table, say) is dropped; replacing it through setAt
        // would erase that object.
        while (id && db_.objectAt(id)->kind() != ObjectKind::Dictionary) {
            note("dictionary entry " + std::string(key) + " named #" + db_.handleOf(id).toString() +
                 ", which is no dictionary; dropped");
            parent.remove(key);
            id = parent.getAt(key);
        }
        if (!id) {
            parent.setAt(key, std::make_unique<Dictionary>(dxfName), &id);
            note("dictionary " + std::string(key) + " was missing; added");
        }
        return *as<Dictionary>(db_, id);
    }

    void run() {
        for (std::size_t k = 0; k < kTableKindCount; ++k) table(static_cast<TableKind>(k));
        record<ViewportTableRecord>(TableKind::Viewport, "*Active");
        record<LinetypeTableRecord>(TableKind::Linetype, "ByBlock");
        record<LinetypeTableRecord>(TableKind::Linetype, "ByLayer");
        record<LinetypeTableRecord>(TableKind::Linetype, "Continuous");
        if (!db_.recordId(TableKind::Layer, "0")) {
            auto* l = as<LayerTableRecord>(db_, record<LayerTableRecord>(TableKind::Layer, "0"));
            l->setColor(Color::fromIndex(7));
        }
        record<TextStyleTableRecord>(TableKind::TextStyle, "Standard");
        record<RegAppTableRecord>(TableKind::RegApp, "ACAD");
        // Drawings name their dimension styles freely; only an empty table gets "Standard".
        if (table(TableKind::DimStyle).liveRecordIds().empty()) {
            ObjectId id;
            table(TableKind::DimStyle).add(std::make_unique<OtherTableRecord>(TableKind::DimStyle, "Standard"), &id,
                                           {}, false);
            note("DIMSTYLE Standard was missing; added");
        }

        if (!db_.namedObjectsDictionaryId() || !db_.objectAt(db_.namedObjectsDictionaryId())) {
            ObjectId id;
            db_.addObject(std::make_unique<Dictionary>(), {}, {}, &id);
            db_.setNamedObjectsDictionaryId(id);
            note("the named object dictionary was missing; added");
        }
        Dictionary& root = *as<Dictionary>(db_, db_.namedObjectsDictionaryId());
        dictionary(root, "ACAD_GROUP");
        Dictionary& styles = dictionary(root, "ACAD_PLOTSTYLENAME", "ACDBDICTIONARYWDFLT");
        if (!styles.getAt("Normal")) {
            ObjectId normal;
            styles.setAt("Normal", std::make_unique<Placeholder>(), &normal);
            styles.setDefaultId(normal);
        }
        Dictionary& layouts = dictionary(root, "ACAD_LAYOUT");
        linkLayout(layouts, db_.modelSpaceId(), "Model", 0);
        linkLayout(layouts, db_.paperSpaceId(), "Layout1", 1);
        repairLayoutLinks(layouts);
    }

private:
    // The layout of a layout block, created when it has none.
    void linkLayout(Dictionary& layouts, ObjectId block, std::string_view name, int tab) {
        auto* btr = as<BlockTableRecord>(db_, block);
        if (!btr) return;
        const DbObject* current = db_.objectAt(btr->layoutId());
        if (current && current->kind() == ObjectKind::Layout) return;
        for (const auto& e : layouts.entries()) {
            auto* l = layoutAt(db_, e.id);
            if (l && l->blockTableRecordId() == block) {
                btr->setLayoutId(e.id);
                return;
            }
        }
        if (layouts.getAt(name)) return;  // taken; left to the link repair below
        auto layout = std::make_unique<Layout>();
        layout->setLayoutName(std::string(name));
        layout->setTabOrder(tab);
        layout->setBlockTableRecordId(block);
        if (tab == 0) layout->setLayoutFlags(1);
        ObjectId id;
        layouts.setAt(name, std::move(layout), &id);
        btr->setLayoutId(id);
        note("layout " + std::string(name) + " was missing; added");
    }

    // A layout whose block record is gone takes the block that points back to it.
    void repairLayoutLinks(Dictionary& layouts) {
        const auto* blocks = as<SymbolTable>(db_, db_.blockTableId());
        for (const auto& e : layouts.entries()) {
            auto* l = layoutAt(db_, e.id);
            if (!l) continue;
            const DbObject* b = db_.objectAt(l->blockTableRecordId());
            if (b && b->kind() == ObjectKind::BlockTableRecord) continue;
            ObjectId found;
            for (ObjectId id : blocks->recordIds()) {
                const auto* btr = as<BlockTableRecord>(db_, id);
                if (btr && btr->layoutId() == e.id) found = id;
            }
            if (!found && l->layoutName() == "Model") found = db_.modelSpaceId();
            if (found) {
                l->setBlockTableRecordId(found);
                // Linked both ways at once, or the next read would still find the block unlinked.
                auto* btr = as<BlockTableRecord>(db_, found);
                if (!layoutAt(db_, btr->layoutId())) btr->setLayoutId(e.id);
                warnings_.push_back("layout " + l->layoutName() + " named a missing block record; linked to " +
                                    as<BlockTableRecord>(db_, found)->name());
            } else {
                warnings_.push_back("layout " + l->layoutName() + " names a missing block record");
            }
        }
    }

    Database& db_;
    bool report_;
    std::vector<std::string>& warnings_;
};

}  // namespace

void completeDrawingStructure(Database& db, bool report, std::vector<std::string>& warnings) {
    Repair(db, report, warnings).run();
}

}  // namespace cad
