// Times the drawing database on a synthetic floor plan: 10,000 space-like block references,
// each with three attributes and a record of extended data. Prints the median of a few runs per
// operation and the memory the database takes per reference.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <functional>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Polyline.h"
#include "engine/db/SortentsTable.h"
#include "engine/db/SymbolTable.h"

using namespace cad;

namespace {

constexpr int kReferences = 10000;
constexpr int kRuns = 5;

std::size_t heapInUse() { return mallinfo2().uordblks; }

XDataChain spaceRecord(int i) {
    XDataChain chain{XDataItem::appName("ADE"), XDataItem::open()};
    for (const std::string& item :
         {fmt::format("AREA={}.25sq.m.", 10 + i % 90), fmt::format("PERIMETER={}.5m.", 12 + i % 40),
          fmt::format("NAME=Room {}", i), std::string("TAGTYPE=Office"), std::string("AREA_TYPE=Net"),
          std::string("COST_CENTRE=CC-1200"), std::string("DATE=2026-12-05"), std::string("DATE_L_MOVE="),
          std::string("DEPT_CHARGE=Facilities"), std::string("ROOM_HEIGHT=2.70m."), std::string("SPECIAL_REQ="),
          std::string("TOT_STAFF=4"), std::string("TOT_WKSTNS=4"), std::string("VOLUME=67.5cu.m."),
          std::string("HANDLESTOMINUS="), std::string("HANDLESTOADD=")})
        chain.push_back(XDataItem::text(item));
    chain.push_back(XDataItem::close());
    return chain;
}

struct Plan {
    std::unique_ptr<Database> db;
    ObjectId block;
    std::vector<ObjectId> refs;
    std::vector<Handle> handles;
};

Plan buildPlan() {
    Plan plan;
    plan.db = Database::createDefault();
    Database& db = *plan.db;
    db.registerApplication("ADE");
    auto* blocks = static_cast<SymbolTable*>(db.objectAt(db.blockTableId()));
    blocks->add(std::make_unique<BlockTableRecord>("ROOM-1"), &plan.block);
    auto* def = static_cast<BlockTableRecord*>(db.objectAt(plan.block));
    auto outline = std::make_unique<Polyline>();
    for (Point2d p : {Point2d{0, 0}, Point2d{5000, 0}, Point2d{5000, 4000}, Point2d{0, 4000}})
        outline->addVertexAt(outline->numVerts(), p);
    outline->setClosed(true);
    def->appendEntity(std::move(outline));
    std::vector<ObjectId> defs;
    for (const char* tag : {"NAME", "AREA", "AUX"}) {
        auto attdef = std::make_unique<AttributeDefinition>();
        attdef->setTag(tag);
        attdef->setTextString("-");
        attdef->setPosition({500, 500.0 * static_cast<double>(defs.size() + 1), 0});
        attdef->setHeight(250);
        ObjectId id;
        def->appendEntity(std::move(attdef), &id);
        defs.push_back(id);
    }

    auto* model = static_cast<BlockTableRecord*>(db.objectAt(db.modelSpaceId()));
    plan.refs.reserve(kReferences);
    for (int i = 0; i < kReferences; ++i) {
        auto ref = std::make_unique<BlockReference>(Point3d{(i % 100) * 6000.0, (i / 100) * 5000.0, 0}, plan.block);
        ObjectId refId;
        model->appendEntity(std::move(ref), &refId);
        auto* placed = static_cast<BlockReference*>(db.objectAt(refId));
        Matrix3d transform = placed->blockTransform();
        for (ObjectId defId : defs) {
            auto attribute = std::make_unique<Attribute>();
            attribute->setAttributeFromBlock(*static_cast<AttributeDefinition*>(db.objectAt(defId)), transform);
            attribute->setTextString(fmt::format("R{}", i));
            placed->appendAttribute(std::move(attribute));
        }
        placed->setXData(spaceRecord(i));
        plan.refs.push_back(refId);
        plan.handles.push_back(placed->handle());
    }
    return plan;
}

void report(const char* name, const std::function<void(Plan&)>& operation, bool fresh = false) {
    std::vector<double> ms;
    Plan shared = fresh ? Plan{} : buildPlan();
    for (int run = 0; run < kRuns; ++run) {
        Plan local = fresh ? buildPlan() : Plan{};
        Plan& plan = fresh ? local : shared;
        auto start = std::chrono::steady_clock::now();
        operation(plan);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s %10.3f ms  (%.3f us per reference)\n", name, ms[ms.size() / 2],
                ms[ms.size() / 2] * 1000.0 / kReferences);
}

}  // namespace

int main() {
    std::printf("drawing database: %d block references, 3 attributes and extended data each; median of %d runs\n",
                kReferences, kRuns);
    {
        std::vector<double> ms;
        for (int run = 0; run < kRuns; ++run) {
            auto start = std::chrono::steady_clock::now();
            Plan plan = buildPlan();
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s %10.3f ms  (%.3f us per reference)\n", "build (references, attributes, xdata)",
                    ms[kRuns / 2], ms[kRuns / 2] * 1000.0 / kReferences);
    }
    report("look up every handle", [](Plan& plan) {
        ObjectId id;
        for (Handle h : plan.handles) plan.db->getObjectId(id, h);
    });
    report("open for read, read extended data", [](Plan& plan) {
        std::size_t items = 0;
        for (ObjectId id : plan.refs) items += plan.db->open<BlockReference>(id)->xData("ADE").size();
        if (items == 0) std::puts("no data");
    });
    report("open attributes for write, set text", [](Plan& plan) {
        for (ObjectId id : plan.refs) {
            auto ref = plan.db->open<BlockReference>(id);
            for (ObjectId att : ref->attributeIds())
                plan.db->open<Attribute>(att, OpenMode::ForWrite)->setTextString("changed");
        }
    });
    report("rewrite extended data", [](Plan& plan) {
        XDataChain record = spaceRecord(7);
        for (ObjectId id : plan.refs) plan.db->open<BlockReference>(id, OpenMode::ForWrite)->setXData(record);
    });
    report("drawing extents", [](Plan& plan) { plan.db->updateExtents(); });
    report("move 100 references to the bottom", [](Plan& plan) {
        ObjectId table;
        plan.db->getSortentsTable(plan.db->modelSpaceId(), table, true);
        std::vector<ObjectId> some(plan.refs.end() - 100, plan.refs.end());
        plan.db->open<SortentsTable>(table, OpenMode::ForWrite)->moveToBottom(some);
    });
    report("erase and unerase every reference", [](Plan& plan) {
        for (ObjectId id : plan.refs) plan.db->erase(id);
        for (ObjectId id : plan.refs) plan.db->erase(id, false);
    });
    report("copy every reference into a block", [](Plan& plan) {
        ObjectId target;
        static int counter = 0;
        static_cast<SymbolTable*>(plan.db->objectAt(plan.db->blockTableId()))
            ->add(std::make_unique<BlockTableRecord>(fmt::format("COPY{}", counter++)), &target);
        IdMapping mapping;
        plan.db->deepCloneObjects(plan.refs, target, mapping);
    });

    std::size_t before = heapInUse();
    Plan plan = buildPlan();
    std::size_t after = heapInUse();
    std::printf("memory: %.0f bytes per reference (with its 3 attributes and extended data), %u objects\n",
                static_cast<double>(after - before) / kReferences, plan.db->slotCount() - 1);
    return 0;
}
