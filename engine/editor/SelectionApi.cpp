#include "engine/editor/SelectionApi.h"

#include <algorithm>
#include <fmt/format.h>

#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/SymbolTable.h"
#include "engine/editor/EntitySelector.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/SelectionInput.h"
#include "engine/editor/Wildcard.h"

namespace cad {

namespace {

std::string pointText(const Point3d& p) { return fmt::format("{:g},{:g}", p.x, p.y); }

std::vector<Point2d> worldPolygon(const Editor& editor, const std::vector<Point3d>& points) {
    std::vector<Point2d> polygon;
    for (const auto& p : points) polygon.push_back(editor.ucs().toWorld(p).toPoint2d());
    return polygon;
}

// The entities of one typed selection line, in draw order; unknown handles are reported.
std::vector<ObjectId> selectLine(Database& db, const Editor& editor, const EntitySelector& selector,
                                 const SelectionLine& line) {
    auto world = worldPolygon(editor, line.points);
    switch (line.mode) {
        case SelectionLine::Mode::All: return selector.all();
        case SelectionLine::Mode::Window: return selector.window(world[0], world[1]);
        case SelectionLine::Mode::Crossing: return selector.crossing(world[0], world[1]);
        case SelectionLine::Mode::CrossingPolygon: return selector.crossingPolygon(world);
        case SelectionLine::Mode::Point: {
            auto id = selector.pick(world[0], selector.pickDistance());
            if (!id) {
                print("Nothing found at " + pointText(line.points[0]) + ".\n");
                return {};
            }
            return {*id};
        }
        case SelectionLine::Mode::Handles: {
            std::vector<ObjectId> ids;
            for (auto h : line.handles) {
                ObjectId id;
                auto entity = db.getObjectId(id, Handle(h)) == ErrorStatus::eOk ? db.open<Entity>(id) : ObjectPtr<Entity>();
                if (!entity) {
                    print("No object has handle " + Handle(h).toString() + ".\n");
                    continue;
                }
                ids.push_back(id);
            }
            return ids;
        }
    }
    return {};
}

std::vector<ObjectId> layoutBlocks(Database& db) {
    std::vector<ObjectId> blocks;
    auto table = db.open<SymbolTable>(db.blockTableId());
    if (!table) return blocks;
    for (ObjectId id : table->liveRecordIds()) {
        auto block = db.open<BlockTableRecord>(id);
        if (block && block->isLayout()) blocks.push_back(id);
    }
    // Model space first.
    std::stable_partition(blocks.begin(), blocks.end(), [&](ObjectId id) { return id == db.modelSpaceId(); });
    return blocks;
}

}  // namespace

FilterList acutBuildList(std::initializer_list<FilterItem> items) { return FilterList(items); }

void acutRelRb(FilterList& list) { list.clear(); }

bool matchesFilter(const Entity& entity, const FilterList& filter) {
    for (const auto& item : filter) {
        switch (item.code) {
            case 0:
                if (!wildcardMatch(entity.dxfName(), item.value, true)) return false;
                break;
            case 2: {
                auto* ref = dynamic_cast<const BlockReference*>(&entity);
                if (ref == nullptr || entity.database() == nullptr) return false;
                auto block = entity.database()->open<BlockTableRecord>(ref->blockTableRecord());
                if (!block || !wildcardMatch(block->name(), item.value, true)) return false;
                break;
            }
            case 8:
                if (!wildcardMatch(entity.layerName(), item.value, true)) return false;
                break;
            default: return false;  // a condition this host cannot test selects nothing
        }
    }
    return true;
}

bool SelectionSet::add(ObjectId id) {
    if (std::find(ids_.begin(), ids_.end(), id) != ids_.end()) return false;
    ids_.push_back(id);
    return true;
}

int acedSSGet(std::string_view mode, const std::vector<Point3d>& points, const FilterList* filter, SelectionSet& set) {
    set.clear();
    HostApplication& host = hostApplication();
    Database* db = host.workingDatabase();
    if (db == nullptr) return RTERROR;
    Editor& editor = host.editor();
    auto keep = [&](ObjectId id) {
        if (filter == nullptr) return true;
        auto entity = db->open<Entity>(id);
        return entity && matchesFilter(*entity, *filter);
    };
    auto addAll = [&](const std::vector<ObjectId>& ids) {
        for (ObjectId id : ids)
            if (keep(id)) set.add(id);
    };
    std::string m(mode);
    std::transform(m.begin(), m.end(), m.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (m == "X") {
        for (ObjectId block : layoutBlocks(*db))
            for (ObjectId id : db->drawOrder(block)) {
                auto entity = db->open<Entity>(id);
                if (entity && (filter == nullptr || matchesFilter(*entity, *filter))) set.add(id);
            }
        return set.ids().empty() ? RTERROR : RTNORM;
    }
    EntitySelector selector(*db);
    auto polygon = worldPolygon(editor, points);
    if (m == "W" || m == "C") {
        if (polygon.size() != 2) return RTERROR;
        addAll(m == "W" ? selector.window(polygon[0], polygon[1]) : selector.crossing(polygon[0], polygon[1]));
    } else if (m == "WP" || m == "CP") {
        if (polygon.size() < 3) return RTERROR;
        addAll(m == "WP" ? selector.windowPolygon(polygon) : selector.crossingPolygon(polygon));
    } else if (m.empty()) {
        while (true) {
            std::string line;
            if (editor.getLine("Select objects: ", line) != RTNORM) {
                set.clear();
                return RTCAN;
            }
            if (line.find_first_not_of(" \t") == std::string::npos) break;
            std::string error;
            auto parsed = parseSelectionLine(line, error);
            if (!parsed) {
                print(error + "\n");
                continue;
            }
            std::size_t found = 0, duplicates = 0;
            for (ObjectId id : selectLine(*db, editor, selector, *parsed)) {
                if (!keep(id)) continue;
                ++found;
                if (!set.add(id)) ++duplicates;
            }
            if (found > 0)
                print(std::to_string(found) + " found" +
                      (duplicates ? " (" + std::to_string(duplicates) + " duplicate)" : "") + "\n");
            else if (parsed->mode != SelectionLine::Mode::Point && parsed->mode != SelectionLine::Mode::Handles)
                print("0 found\n");
        }
    } else {
        return RTERROR;
    }
    return set.ids().empty() ? RTERROR : RTNORM;
}

int acedSSLength(const SelectionSet& set, int& length) {
    length = static_cast<int>(set.ids().size());
    return RTNORM;
}

int acedSSName(const SelectionSet& set, int index, ObjectId& entity) {
    if (index < 0 || static_cast<std::size_t>(index) >= set.ids().size()) return RTERROR;
    entity = set.ids()[static_cast<std::size_t>(index)];
    return RTNORM;
}

int acedSSFree(SelectionSet& set) {
    set.clear();
    return RTNORM;
}

int acedEntSel(std::string_view prompt, ObjectId& entity, Point3d& point) {
    HostApplication& host = hostApplication();
    Database* db = host.workingDatabase();
    if (db == nullptr) {
        print("No drawing is open.\n");
        return RTERROR;
    }
    Editor& editor = host.editor();
    while (true) {
        std::string line;
        if (editor.getLine(prompt, line) != RTNORM) return RTCAN;
        if (line.find_first_not_of(" \t") == std::string::npos) return RTNONE;
        std::string error;
        auto parsed = parseSelectionLine(line, error);
        bool single = parsed && (parsed->mode == SelectionLine::Mode::Point ||
                                 (parsed->mode == SelectionLine::Mode::Handles && parsed->handles.size() == 1));
        if (!single) {
            print("Type a handle (#2F1A) or a point (x,y) to pick one object.\n");
            continue;
        }
        EntitySelector selector(*db);
        auto ids = selectLine(*db, editor, selector, *parsed);
        if (ids.empty()) continue;
        entity = ids.front();
        if (parsed->mode == SelectionLine::Mode::Point) {
            point = editor.ucs().toWorld(parsed->points[0]);
        } else {
            auto opened = db->open<Entity>(entity);
            auto shape = opened ? entityShape(*opened) : std::nullopt;
            point = shape ? Point3d(shape->path.front()) : Point3d::origin();
        }
        return RTNORM;
    }
}

int acdbHandEnt(std::string_view handle, ObjectId& entity) {
    Database* db = hostApplication().workingDatabase();
    if (db == nullptr) return RTERROR;
    auto h = parseHandleText(handle);
    ObjectId id;
    if (!h || db->getObjectId(id, Handle(*h)) != ErrorStatus::eOk) return RTERROR;
    entity = id;
    return RTNORM;
}

ErrorStatus acdbGetObjectId(ObjectId& id, ObjectId entityName) {
    id = entityName;
    return entityName.isNull() ? ErrorStatus::eNullObjectId : ErrorStatus::eOk;
}

}  // namespace cad
