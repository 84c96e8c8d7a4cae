#include <fmt/format.h>

#include <cmath>
#include <numbers>

#include "engine/db/Arc.h"
#include "engine/db/Attribute.h"
#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Circle.h"
#include "engine/db/Database.h"
#include "engine/db/Line.h"
#include "engine/db/ObjectPtr.h"
#include "engine/db/Polyline.h"
#include "engine/db/Text.h"
#include "engine/editor/Document.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/DocumentView.h"
#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/SelectionApi.h"

namespace cad {

namespace {

std::string degrees(double radians) { return coordinateText(radians * 180 / std::numbers::pi); }

void describe(Database& db, const Entity& entity) {
    std::string out = std::string(entity.dxfName()) + "  Layer: \"" + entity.layerName() + "\"  Handle: " + entity.handle().toString() + "\n";
    out += "    Class: " + std::string(entity.className()) + "\n";
    if (auto* line = dynamic_cast<const Line*>(&entity)) {
        out += "    from " + pointText(line->startPoint()) + "\n";
        out += "    to   " + pointText(line->endPoint()) + "\n";
        out += "    length " + coordinateText(line->length()) + "\n";
    } else if (auto* arc = dynamic_cast<const Arc*>(&entity)) {
        out += "    center " + pointText(arc->centerWcs()) + "\n";
        out += "    radius " + coordinateText(arc->radius()) + "\n";
        out += "    start angle " + degrees(arc->startAngle()) + "  end angle " + degrees(arc->endAngle()) + "\n";
        out += "    length " + coordinateText(arc->length()) + "\n";
    } else if (auto* circle = dynamic_cast<const Circle*>(&entity)) {
        double r = circle->radius();
        out += "    center " + pointText(circle->centerWcs()) + "\n";
        out += "    radius " + coordinateText(r) + "\n";
        out += "    circumference " + coordinateText(2 * std::numbers::pi * r) + "  area " +
               coordinateText(std::numbers::pi * r * r) + "\n";
    } else if (auto* pline = dynamic_cast<const Polyline*>(&entity)) {
        out += std::string("    ") + (pline->isClosed() ? "closed" : "open") + ", " +
               std::to_string(pline->numVerts()) + " vertices\n";
        for (std::size_t i = 0; i < pline->numVerts(); ++i) {
            out += "    at " + pointText(pline->pointAt3d(i));
            if (pline->bulgeAt(i) != 0) out += "  bulge " + coordinateText(pline->bulgeAt(i));
            out += "\n";
        }
        out += "    area " + coordinateText(pline->area()) + "  length " + coordinateText(pline->length()) + "\n";
    } else if (auto* ref = dynamic_cast<const BlockReference*>(&entity)) {
        auto block = db.open<BlockTableRecord>(ref->blockTableRecord());
        out += "    block \"" + (block ? block->name() : std::string("?")) + "\"\n";
        out += "    at " + pointText(ref->position()) + "\n";
        const Vector3d& s = ref->scaleFactors();
        out += "    scale X=" + coordinateText(s.x) + "  Y=" + coordinateText(s.y) + "  Z=" + coordinateText(s.z) + "\n";
        out += "    rotation " + degrees(ref->rotation()) + "\n";
        for (ObjectId id : ref->attributeIds()) {
            auto attribute = db.open<Attribute>(id);
            if (attribute) out += "    attribute " + attribute->tag() + " = \"" + attribute->textString() + "\"\n";
        }
    } else if (auto* text = dynamic_cast<const Text*>(&entity)) {
        out += "    text \"" + text->textString() + "\"\n";
        out += "    at " + pointText(text->position()) + "\n";
        out += "    height " + coordinateText(text->height()) + "\n";
    }
    print(out);
}

void list(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    SelectionSet set;
    if (acedSSGet("", {}, nullptr, set) != RTNORM) return;
    for (ObjectId id : set.ids()) {
        auto entity = db->open<Entity>(id);
        if (entity) describe(*db, *entity);
    }
}

void zoom(HostApplication& host) {
    Document* document = host.documentManager().curDocument();
    if (document == nullptr) {
        print("No drawing is open.\n");
        return;
    }
    DocumentView view(*document);
    std::string option;
    int rc = host.editor().getKeyword("Enter an option [All/Extents/Previous/Window] <Extents>: ",
                                      "All Extents Previous Window", option);
    if (rc == RTCAN) return;
    bool changed = false;
    if (option == "Previous") {
        changed = view.zoomPrevious();
        if (!changed) print("No previous view.\n");
    } else if (option == "Window") {
        Point3d first, second;
        if (host.editor().getPoint("Specify first corner: ", first) != RTNORM) return;
        if (host.editor().getPoint("Specify opposite corner: ", second) != RTNORM) return;
        changed = view.zoomWindow(first, second);
        if (!changed) print("The window is empty.\n");
    } else {
        changed = view.zoomExtents();
        if (!changed) print("The drawing is empty.\n");
    }
    if (!changed) return;
    if (auto shown = view.current())
        print("View centre " + pointText(Point3d(shown->center.x, shown->center.y, 0)) +
              fmt::format(", height {:g}\n", shown->height));
}

void ucs(HostApplication& host) {
    Database* db = activeDatabase(host);
    if (db == nullptr) return;
    Editor& editor = host.editor();
    std::string option;
    int rc = editor.getKeyword("Enter an option [World/Origin/Rotate] <World>: ", "World Origin Rotate", option);
    if (rc == RTCAN) return;
    CoordinateSystem current = editor.ucs();
    CoordinateSystem next;
    if (rc == RTNONE || option == "World") {
        next = CoordinateSystem::world();
    } else if (option == "Origin") {
        Point3d origin;
        if (editor.getPoint("Specify new origin point: ", origin) != RTNORM) return;
        next = CoordinateSystem(origin, current.xAxis(), current.yAxis());
    } else {
        double angle = 90;
        if (editor.getReal("Rotation angle about Z axis <90>: ", angle) == RTCAN) return;
        double a = angle * std::numbers::pi / 180;
        Vector3d x = current.xAxis() * std::cos(a) + current.yAxis() * std::sin(a);
        Vector3d y = current.yAxis() * std::cos(a) - current.xAxis() * std::sin(a);
        next = CoordinateSystem(current.origin(), x, y);
    }
    editor.ucs() = next;
    db->setUcs(next.origin(), next.xAxis(), next.yAxis());
}

}  // namespace

void registerInquiryCommands(HostApplication& host) {
    CommandStack& stack = host.commandStack();
    const std::string group(CommandStack::kHostGroup);
    stack.addCommand(group, "LIST", "LIST", ACRX_CMD_MODAL, [&host] { list(host); });
    stack.addCommand(group, "ZOOM", "ZOOM", ACRX_CMD_MODAL, [&host] { zoom(host); });
    stack.addCommand(group, "REGEN", "REGEN", ACRX_CMD_MODAL, [] { print("Regenerating model.\n"); });
    stack.addCommand(group, "UCS", "UCS", ACRX_CMD_MODAL, [&host] { ucs(host); });
}

}  // namespace cad
