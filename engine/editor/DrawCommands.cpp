#include <cmath>
#include <numbers>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/Line.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/Polyline.h"
#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/SelectionApi.h"

namespace cad {

namespace {

// Appends to model space; prints why when the drawing refuses.
ObjectId addToModelSpace(Database& db, std::unique_ptr<Entity> entity) {
    auto space = db.open<BlockTableRecord>(db.modelSpaceId(), OpenMode::ForWrite);
    ObjectId id;
    ErrorStatus es = space ? space->appendEntity(std::move(entity), &id) : space.openStatus();
    if (es != ErrorStatus::eOk) print("The entity could not be added: " + statusText(es) + ".\n");
    return id;
}

void drawLines(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    Editor& editor = host.editor();
    Point3d first;
    if (editor.getPoint("Specify first point: ", first) != RTNORM) return;
    std::vector<ObjectId> lines;
    Point3d last = first;
    while (true) {
        Point3d next;
        std::string keyword;
        int rc = editor.getPointOrKeyword("Specify next point or [Close/Undo]: ", "Close Undo", next, keyword);
        if (rc == RTKWORD && keyword == "Undo") {
            if (lines.empty()) {
                print("Nothing to undo.\n");
                continue;
            }
            auto line = db->open<Line>(lines.back());
            if (line) last = line->startPoint();
            db->erase(lines.back());
            lines.pop_back();
            continue;
        }
        if (rc == RTKWORD) {  // Close
            if (lines.size() < 2) {
                print("Draw two segments or more before closing.\n");
                continue;
            }
            addToModelSpace(*db, std::make_unique<Line>(last, first));
            return;
        }
        if (rc != RTNORM) return;
        if (next.isEqualTo(last)) {
            print("The point is the previous one.\n");
            continue;
        }
        ObjectId id = addToModelSpace(*db, std::make_unique<Line>(last, next));
        if (id.isNull()) return;
        lines.push_back(id);
        last = next;
    }
}

void drawCircle(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    Point3d center;
    if (host.editor().getPoint("Specify center point: ", center) != RTNORM) return;
    double radius = 0;
    while (true) {
        if (host.editor().getReal("Specify radius: ", radius) != RTNORM) return;
        if (radius > 0) break;
        print("Requires a positive number.\n");
    }
    addToModelSpace(*db, std::make_unique<Circle>(center, radius));
}

// Builds a polyline of line and tangent arc segments as the points come.
class PolylineBuilder {
public:
    explicit PolylineBuilder(const Point3d& start) : elevation_(start.z) {
        vertices_.push_back({start.toPoint2d()});
        directions_.push_back({1, 0});
    }

    std::size_t size() const { return vertices_.size(); }

    // False when no arc tangent to the current direction reaches the point.
    bool add(const Point2d& p, bool arc) {
        Point2d from = vertices_.back().point;
        Vector2d chord = p - from;
        if (chord.isZeroLength()) return false;
        double bulge = 0;
        Vector2d direction = chord.normal();
        if (arc) {
            if (!tangentArc(from, p, bulge, direction)) return false;
        }
        vertices_.back().bulge = bulge;
        vertices_.push_back({p});
        directions_.push_back(direction);
        return true;
    }

    bool close(bool arc) {
        if (vertices_.size() < 2) return false;
        double bulge = 0;
        Vector2d direction;
        if (arc && !tangentArc(vertices_.back().point, vertices_.front().point, bulge, direction)) return false;
        vertices_.back().bulge = bulge;
        closed_ = true;
        return true;
    }

    bool undo() {
        if (vertices_.size() < 2) return false;
        vertices_.pop_back();
        directions_.pop_back();
        vertices_.back().bulge = 0;
        return true;
    }

    std::unique_ptr<Polyline> build() const {
        auto pline = std::make_unique<Polyline>();
        std::vector<Polyline::Vertex> vertices;
        for (const auto& v : vertices_) vertices.push_back({v.point, v.bulge});
        pline->setVertices(std::move(vertices));
        pline->setClosed(closed_);
        pline->setElevation(elevation_);
        return pline;
    }

private:
    // The arc from `from` to `to` leaving along the current direction.
    bool tangentArc(const Point2d& from, const Point2d& to, double& bulge, Vector2d& endDirection) const {
        Vector2d chord = to - from;
        const Vector2d& d = directions_.back();
        double theta = std::atan2(d.cross(chord), d.dot(chord));  // half the included angle
        if (std::abs(std::abs(theta) - std::numbers::pi) < 1e-9) return false;
        bulge = std::tan(theta / 2);
        double c = std::cos(theta), s = std::sin(theta);
        Vector2d u = chord.normal();
        endDirection = Vector2d(u.x * c - u.y * s, u.x * s + u.y * c);
        return true;
    }

    struct Vertex {
        Point2d point;
        double bulge = 0;
    };
    std::vector<Vertex> vertices_;
    std::vector<Vector2d> directions_;  // direction at the end of each vertex's incoming segment
    double elevation_;
    bool closed_ = false;
};

void drawPolyline(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    Editor& editor = host.editor();
    Point3d start;
    if (editor.getPoint("Specify start point: ", start) != RTNORM) return;
    PolylineBuilder builder(start);
    bool arcMode = false;
    while (true) {
        Point3d next;
        std::string keyword;
        int rc = arcMode ? editor.getPointOrKeyword("Specify end point of arc or [Line/Close/Undo]: ",
                                                    "Line Close Undo", next, keyword)
                         : editor.getPointOrKeyword("Specify next point or [Arc/Close/Undo]: ", "Arc Close Undo",
                                                    next, keyword);
        if (rc == RTKWORD) {
            if (keyword == "Arc" || keyword == "Line") {
                arcMode = keyword == "Arc";
            } else if (keyword == "Undo") {
                if (!builder.undo()) print("Nothing to undo.\n");
            } else if (builder.close(arcMode)) {
                break;
            } else {
                print("Draw a segment or more before closing.\n");
            }
            continue;
        }
        if (rc != RTNORM) break;  // Enter ends the polyline, a cancel keeps what was drawn
        if (!builder.add(next.toPoint2d(), arcMode)) print(arcMode ? "The arc cannot end there.\n" : "The point is the previous one.\n");
    }
    if (builder.size() < 2) return;
    addToModelSpace(*db, builder.build());
}

void insertBlock(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    Editor& editor = host.editor();
    std::string name;
    if (editor.getString(true, "Enter block name: ", name) != RTNORM || name.empty()) return;
    ObjectId block = db->recordId(TableKind::Block, name);
    auto record = db->open<BlockTableRecord>(block);
    if (!record || record->isLayout()) {
        print("Block \"" + name + "\" not found.\n");
        return;
    }
    record.close();
    Point3d at;
    if (editor.getPoint("Specify insertion point: ", at) != RTNORM) return;
    double scale = 1;
    int rc = editor.getReal("Scale factor <1>: ", scale);
    if (rc == RTCAN) return;
    double rotation = 0;
    rc = editor.getReal("Rotation angle <0>: ", rotation);
    if (rc == RTCAN) return;
    auto ref = std::make_unique<BlockReference>(at, block);
    ref->setScaleFactors({scale, scale, scale});
    ref->setRotation(rotation * std::numbers::pi / 180);
    ObjectId refId = addToModelSpace(*db, std::move(ref));
    if (refId.isNull()) return;
    // Each variable attribute of the definition is asked for, its default offered.
    auto definition = db->open<BlockTableRecord>(block);
    auto placed = db->open<BlockReference>(refId, OpenMode::ForWrite);
    if (!definition || !placed) return;
    for (ObjectId id : definition->liveEntityIds()) {
        auto attdef = db->open<AttributeDefinition>(id);
        if (!attdef || attdef->isConstant()) continue;
        auto attribute = std::make_unique<Attribute>();
        attribute->setPropertiesFrom(*placed);
        attribute->setAttributeFromBlock(*attdef, placed->blockTransform());
        std::string label = attdef->prompt().empty() ? attdef->tag() : attdef->prompt();
        std::string value;
        if (!attdef->isPreset()) {
            if (editor.getString(true, label + " <" + attdef->textString() + ">: ", value) == RTNORM && !value.empty())
                attribute->setTextString(value);
        }
        placed->appendAttribute(std::move(attribute));
    }
}

void erase(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    SelectionSet set;
    if (acedSSGet("", {}, nullptr, set) != RTNORM) return;
    int erased = 0;
    for (ObjectId id : set.ids()) {
        auto entity = db->open<Entity>(id, OpenMode::ForWrite);
        if (!entity) {
            print("Cannot erase " + db->handleOf(id).toString() + ": " + statusText(entity.openStatus()) + ".\n");
            continue;
        }
        entity.close();
        if (db->erase(id) == ErrorStatus::eOk) ++erased;
    }
    print(std::to_string(erased) + " erased.\n");
}

}  // namespace

void registerDrawCommands(HostApplication& host) {
    CommandStack& stack = host.commandStack();
    const std::string group(CommandStack::kHostGroup);
    stack.addCommand(group, "LINE", "LINE", ACRX_CMD_MODAL, [&host] { drawLines(host); });
    stack.addCommand(group, "CIRCLE", "CIRCLE", ACRX_CMD_MODAL, [&host] { drawCircle(host); });
    stack.addCommand(group, "PLINE", "PLINE", ACRX_CMD_MODAL, [&host] { drawPolyline(host); });
    stack.addCommand(group, "INSERT", "INSERT", ACRX_CMD_MODAL, [&host] { insertBlock(host); });
    stack.addCommand(group, "ERASE", "ERASE", ACRX_CMD_MODAL, [&host] { erase(host); });
}

}  // namespace cad
