// TEXT, ATTRIB and ATTDEF share AcDbText: position (10), height (40), text (1), rotation (50),
// width (41), oblique (51), style (7), generation (71), horizontal mode (72), alignment point
// (11), extrusion (210). TEXT then repeats AcDbText for its vertical mode (73); the attributes add
// their own subclass: R2010 version tag (280), prompt (3, ATTDEF), tag (2), flags (70), field
// length (73), vertical mode (74), lock position (280, R2007+). R2018 multi-line data from 101
// on is kept as read.
#include <algorithm>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/Database.h"
#include "engine/db/SymbolTable.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readText(DxfRecordRead& r) {
    const std::string_view type = r.type();
    std::unique_ptr<Text> e;
    Attribute* attrib = nullptr;
    AttributeDefinition* attdef = nullptr;
    if (type == "ATTRIB") {
        auto a = std::make_unique<Attribute>();
        attrib = a.get();
        e = std::move(a);
    } else if (type == "ATTDEF") {
        auto a = std::make_unique<AttributeDefinition>();
        attdef = a.get();
        e = std::move(a);
    } else {
        e = std::make_unique<Text>();
    }
    DxfReadServices& in = r.in;
    Point3d p, align;
    Vector3d n = Vector3d::zAxis();
    bool attributePart = false, entityPart = false, firstAfterMarker = false, embedded = false;
    for (const DxfTag& t : r.parts.body) {
        // R2018 multi-line data stays as read. It ends the record; a subclass marker after it
        // (seen in damaged files) ends it too, or the fields that follow would be kept as
        // read and written again after their generated copies on every save. In the entity's
        // common part (damaged files again) it starts nothing: the layer and colour written
        // after it must be read back as such.
        if (embedded && t.code != 100) {
            r.extras.add(t);
            continue;
        }
        embedded = false;
        if (t.code == 101) {
            embedded = !entityPart;
            r.extras.add(t);
            continue;
        }
        if (t.code == 100) {
            const std::string_view m = trimDxfBlanks(t.value);
            attributePart = m == "AcDbAttribute" || m == "AcDbAttributeDefinition";
            entityPart = m == "AcDbEntity";
            firstAfterMarker = true;
            r.common(t, *e);
            continue;
        }
        const bool first = firstAfterMarker;
        firstAfterMarker = false;
        if (r.common(t, *e) || in.pointPart(t, 10, p) || in.pointPart(t, 11, align) || in.vectorPart(t, 210, n))
            continue;
        // R12 attributes have no subclass markers: their own codes are known by number.
        const bool legacyAttribute = !r.parts.hasSubclasses && type != "TEXT" &&
                                     (t.code == 2 || t.code == 3 || t.code == 70 || t.code == 73 || t.code == 74);
        if (attributePart || legacyAttribute) {
            if (t.code == 280 && first && in.version() >= 1024) continue;  // version tag, written again
            if (t.code == 2) {
                const std::string tag = in.text(t.value);
                if (attrib) (void)attrib->setTag(tag);
                if (attdef) (void)attdef->setTag(tag);
            } else if (t.code == 3 && attdef) {
                attdef->setPrompt(in.textValue(t.value));
            } else if (t.code == 70) {
                if (attrib) attrib->setAttributeFlags(static_cast<int>(in.integer(t)));
                if (attdef) attdef->setAttributeFlags(static_cast<int>(in.integer(t)));
            } else if (t.code == 73) {
                if (attrib) attrib->setFieldLength(static_cast<int>(in.integer(t)));
                if (attdef) attdef->setFieldLength(static_cast<int>(in.integer(t)));
            } else if (t.code == 74) {
                e->setVerticalMode(static_cast<Text::VerticalMode>(std::clamp<long long>(in.integer(t), 0, 3)));
            } else if (t.code == 280) {
                if (attrib) attrib->setLockPosition(in.integer(t) != 0);
                if (attdef) attdef->setLockPosition(in.integer(t) != 0);
            } else if (t.code == 72) {
                e->setHorizontalMode(static_cast<Text::HorizontalMode>(std::clamp<long long>(in.integer(t), 0, 5)));
            } else {
                r.extras.add(t);
            }
            continue;
        }
        switch (t.code) {
            case 1: e->setTextString(in.textValue(t.value)); break;
            case 40: e->setHeight(in.num(t)); break;
            case 50: e->setRotation(in.num(t) * kDxfRadiansPerDegree); break;
            case 41: e->setWidthFactor(in.num(t)); break;
            case 51: e->setOblique(in.num(t) * kDxfRadiansPerDegree); break;
            case 39: e->setThickness(in.num(t)); break;
            case 7:
                if (ObjectId id = in.textStyleByName(t.value)) e->setTextStyle(id);
                else r.extras.add(t);
                break;
            case 71: e->setGenerationFlags(static_cast<int>(in.integer(t))); break;
            case 72:
                e->setHorizontalMode(static_cast<Text::HorizontalMode>(std::clamp<long long>(in.integer(t), 0, 5)));
                break;
            case 73:
                if (type == "TEXT") {
                    e->setVerticalMode(static_cast<Text::VerticalMode>(std::clamp<long long>(in.integer(t), 0, 3)));
                } else {
                    r.extras.add(t);
                }
                break;
            default: r.extras.add(t);
        }
    }
    e->setPosition(p);
    e->setAlignmentPoint(align);
    e->setNormal(n);
    return e;
}

void writeText(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& t = static_cast<const Text&>(o);
    const ObjectKind kind = o.kind();
    DxfTagWriter& w = out.tags();
    w.string(100, "AcDbText");
    if (t.thickness() != 0) w.real(39, t.thickness());
    out.point(10, t.position());
    w.real(40, t.height());
    w.string(1, out.textValue(t.textString()));
    if (t.rotation() != 0) w.real(50, t.rotation() * kDxfDegreesPerRadian);
    if (t.widthFactor() != 1.0) w.real(41, t.widthFactor());
    if (t.oblique() != 0) w.real(51, t.oblique() * kDxfDegreesPerRadian);
    if (const auto* style = static_cast<const SymbolTableRecord*>(out.database().objectAt(t.textStyle())))
        w.string(7, out.text(style->name()));
    if (t.generationFlags() != 0) w.integer(71, t.generationFlags());
    if (t.horizontalMode() != Text::HorizontalMode::Left) w.integer(72, static_cast<int>(t.horizontalMode()));
    if (!t.isDefaultAlignment()) out.point(11, t.alignmentPoint());
    if (t.normal() != Vector3d::zAxis()) out.point(210, t.normal());
    out.extrasOf(extras, "AcDbText");
    const int vertical = static_cast<int>(t.verticalMode());
    if (kind == ObjectKind::Text) {
        w.string(100, "AcDbText");
        if (vertical != 0) w.integer(73, vertical);
        out.extrasOf(extras, "AcDbText");
        return;
    }
    const bool isDef = kind == ObjectKind::AttributeDefinition;
    const std::string marker = isDef ? "AcDbAttributeDefinition" : "AcDbAttribute";
    w.string(100, marker);
    if (out.version() >= 1024) w.integer(280, 0);
    if (isDef) {
        const auto& d = static_cast<const AttributeDefinition&>(o);
        w.string(3, out.textValue(d.prompt()));
        w.string(2, out.text(d.tag()));
        w.integer(70, d.attributeFlags());
        if (d.fieldLength() != 0) w.integer(73, d.fieldLength());
        if (vertical != 0) w.integer(74, vertical);
        if (out.version() >= kDxfR2007) w.integer(280, d.lockPosition() ? 1 : 0);
    } else {
        const auto& a = static_cast<const Attribute&>(o);
        w.string(2, out.text(a.tag()));
        w.integer(70, a.attributeFlags());
        if (a.fieldLength() != 0) w.integer(73, a.fieldLength());
        if (vertical != 0) w.integer(74, vertical);
        if (out.version() >= kDxfR2007) w.integer(280, a.lockPosition() ? 1 : 0);
    }
    out.extrasOf(extras, marker);
}

}  // namespace cad
