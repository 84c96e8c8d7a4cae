#include "engine/render/StyleResolver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/LayerTableRecord.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/TagValue.h"
#include "engine/db/UnknownEntity.h"
#include "engine/db/Viewport.h"
#include "engine/render/RawEntity.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

bool sameName(const std::string& a, const char* b) {
    std::size_t n = std::char_traits<char>::length(b);
    if (a.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// The pattern of a linetype: its dashes, or, for one read from a file (which keeps the pattern as
// its tags), the 49 records and what follows each.
std::vector<LinetypeTableRecord::Dash> patternOf(const Database& db, const LinetypeTableRecord& record) {
    if (!record.dashes().empty()) return record.dashes();
    std::vector<LinetypeTableRecord::Dash> dashes;
    for (const RawTag& t : record.extraTags()) {
        const double v = std::strtod(t.value.c_str(), nullptr);
        if (t.code == 49) {
            dashes.emplace_back();
            dashes.back().length = std::isfinite(v) ? v : 0.0;
            continue;
        }
        if (dashes.empty()) continue;
        auto& d = dashes.back();
        switch (t.code) {
            case 74: d.complexFlags = std::atoi(t.value.c_str()); break;
            case 75: d.shapeNumber = std::atoi(t.value.c_str()); break;
            case 340: db.getObjectId(d.style, t.value); break;
            case 46: d.scale = v; break;
            case 50: d.rotation = v * std::numbers::pi / 180.0; break;
            case 44: d.xOffset = v; break;
            case 45: d.yOffset = v; break;
            case 9: d.text = t.value; break;
            default: break;
        }
    }
    return dashes;
}

}  // namespace

StyleResolver::StyleResolver(const Database& db, LineWeightScale weights) : db_(db), weights_(weights) {
    ltscale_ = db.header().getDouble("$LTSCALE").value_or(1.0);
    if (!(ltscale_ > 0) || !std::isfinite(ltscale_)) ltscale_ = 1.0;
}

Rgb StyleResolver::drawnRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (r == 255 && g == 255 && b == 255) return Rgb{0, 0, 0};
    return Rgb{r, g, b};
}

const StyleResolver::LayerInfo& StyleResolver::layer(ObjectId id) {
    if (lastLayer_ != nullptr && id == lastLayerId_) return *lastLayer_;
    lastLayerId_ = id;
    auto it = layers_.find(id);
    if (it != layers_.end()) return *(lastLayer_ = &it->second);
    LayerInfo info;
    info.color = Rgb{0, 0, 0};
    if (const auto* record = dynamic_cast<const LayerTableRecord*>(db_.objectAt(id))) {
        const Color& c = record->color();
        info.color = c.isTrueColor() || c.method() == Color::Method::Index
                         ? drawnRgb(c.red(), c.green(), c.blue())
                         : Rgb{0, 0, 0};
        info.linetype = record->linetypeId();
        info.lineWeight = record->lineWeight();
        // A picture is a plot: layers kept from plotting, and the dimensions' definition points
        // whatever their flag says, are left out.
        info.hidden = record->isOff() || record->isFrozen() || !record->isPlottable() ||
                      equalsNoCase(record->name(), "Defpoints");
        info.isZero = record->name() == "0";
        // A layer's transparency is kept as extended data of its own application.
        for (const XDataItem& item : record->xData("AcCmTransparency"))
            if (item.code() == 1071 && (item.asInt() & 0x02000000))
                info.alpha = static_cast<std::uint8_t>(item.asInt() & 0xFF);
    }
    return *(lastLayer_ = &layers_.emplace(id, info).first->second);
}

const StyleResolver::LinetypeInfo& StyleResolver::linetypeInfo(ObjectId id) {
    if (lastLinetype_ != nullptr && id == lastLinetypeId_) return *lastLinetype_;
    lastLinetypeId_ = id;
    auto it = linetypes_.find(id);
    if (it != linetypes_.end()) return *(lastLinetype_ = &it->second);
    LinetypeInfo info;
    if (id.isNull()) {
        info.kind = LinetypeInfo::Kind::ByLayer;
    } else if (const auto* record = dynamic_cast<const LinetypeTableRecord*>(db_.objectAt(id))) {
        if (sameName(record->name(), "BYLAYER")) info.kind = LinetypeInfo::Kind::ByLayer;
        else if (sameName(record->name(), "BYBLOCK")) info.kind = LinetypeInfo::Kind::ByBlock;
        else if (const auto pattern = patternOf(db_, *record); !pattern.empty()) {
            info.kind = LinetypeInfo::Kind::Pattern;
            // Runs of the same sign merge; a dot is a dash of no length, drawn as a short one.
            std::vector<double> runs;  // signed: on >= 0, off < 0
            double along = 0.0;
            for (const auto& dash : pattern) {
                const double len = dash.length;
                along += std::fabs(len);
                if (dash.complexFlags & (2 | 4)) {
                    LinetypeMark mark;
                    mark.position = along;
                    mark.isShape = (dash.complexFlags & 4) != 0;
                    mark.text = dash.text;
                    mark.style = dash.style;
                    mark.scale = dash.scale;
                    mark.rotation = dash.rotation;
                    mark.xOffset = dash.xOffset;
                    mark.yOffset = dash.yOffset;
                    mark.absoluteRotation = (dash.complexFlags & 1) != 0;
                    info.marks.push_back(std::move(mark));
                }
                if (!runs.empty() && ((runs.back() >= 0) == (len >= 0))) runs.back() += len;
                else runs.push_back(len);
            }
            double total = 0.0;
            for (double r : runs) total += std::fabs(r);
            double offset = 0.0;
            if (runs.front() < 0) {
                // The stroker starts with a dash: begin inside the cycle, at the leading gap.
                runs.push_back(runs.front());
                runs.erase(runs.begin());
                offset = total - std::fabs(runs.back());
                if (runs.size() > 1 && runs[runs.size() - 2] < 0) {
                    runs[runs.size() - 2] += runs.back();
                    runs.pop_back();
                }
            } else if (runs.size() > 1 && runs.back() >= 0) {
                // A trailing dash runs on into the leading one when the pattern repeats.
                offset = runs.back();
                runs.front() += runs.back();
                runs.pop_back();
            }
            if (runs.size() < 2) {
                info.kind = runs.empty() || runs.front() >= 0 ? LinetypeInfo::Kind::Continuous
                                                              : LinetypeInfo::Kind::Pattern;
                if (info.kind == LinetypeInfo::Kind::Pattern) info.dashes = {0.0, std::fabs(runs.front())};
            } else {
                for (double r : runs) info.dashes.push_back(std::fabs(r));
                info.offset = offset;
            }
        }
    }
    return *(lastLinetype_ = &linetypes_.emplace(id, std::move(info)).first->second);
}

EntityProps StyleResolver::props(const Entity& entity) const {
    EntityProps p;
    p.layer = entity.layerId();
    if (entity.kind() != ObjectKind::UnknownEntity) {
        p.color = entity.color();
        p.linetype = entity.linetypeId();
        p.linetypeScale = entity.linetypeScale();
        p.lineWeight = entity.lineWeight();
        p.visible = entity.isVisible();
        for (const RawTag& tag : entity.extraTags())
            if (tag.code == 440) {
                p.transparency = parseInt(tag.value).value_or(0);
                break;
            }
        return p;
    }
    // The common group codes come before the first subclass's data; the first of each counts.
    const RawEntity raw(static_cast<const UnknownEntity&>(entity).tags);
    if (auto index = raw.integer(62)) {
        if (*index == 0) p.color = Color::byBlock();
        else if (*index > 0 && *index < 256) p.color = Color::fromIndex(static_cast<int>(*index));
    }
    if (auto rgb = raw.integer(420); rgb && *rgb >= 0) p.color = Color::fromTrueColorValue(static_cast<std::uint32_t>(*rgb));
    if (const std::string* lt = raw.text(6)) p.linetype = db_.recordId(TableKind::Linetype, *lt);
    p.linetypeScale = raw.real(48, 1.0);
    p.lineWeight = static_cast<int>(raw.integer(370, -1));
    p.visible = raw.integer(60, 0) == 0;
    p.transparency = raw.integer(440, 0);
    return p;
}

bool StyleResolver::isShown(const Entity& entity, const PaintContext& context) {
    if (!props(entity).visible) return false;
    // Inside a reference, layer "0" stands for the reference's layer, which was checked already.
    const ObjectId own = effectiveLayer(entity, context);
    if (own == context.insertLayer && !context.insertLayer.isNull()) return true;
    if (layer(own).hidden) return false;
    if (context.viewport && context.viewport->isLayerFrozen(own)) return false;
    return true;
}

ObjectId StyleResolver::effectiveLayer(const Entity& entity, const PaintContext& context) const {
    const ObjectId own = entity.layerId();
    if (!context.insertLayer.isNull()) {
        if (lastLayer_ != nullptr && own == lastLayerId_) return lastLayer_->isZero ? context.insertLayer : own;
        auto it = layers_.find(own);
        bool zero = it != layers_.end() ? it->second.isZero : false;
        if (it == layers_.end())
            if (const auto* record = dynamic_cast<const LayerTableRecord*>(db_.objectAt(own))) zero = record->name() == "0";
        if (zero) return context.insertLayer;
    }
    return own;
}

Rgb StyleResolver::colorOf(const Color& color, ObjectId layerId, const PaintContext& context) {
    switch (color.method()) {
        case Color::Method::ByLayer: return layer(layerId).color;
        case Color::Method::ByBlock: return context.blockColor;
        case Color::Method::Index:
        case Color::Method::True: return drawnRgb(color.red(), color.green(), color.blue());
    }
    return Rgb{};
}

Rgb StyleResolver::color(const Entity& entity, const PaintContext& context) {
    return resolvedColor(props(entity), effectiveLayer(entity, context), context);
}

Rgb StyleResolver::resolvedColor(const EntityProps& p, ObjectId layerId, const PaintContext& context) {
    Rgb rgb = colorOf(p.color, layerId, context);
    if (p.transparency & 0x02000000)
        rgb.a = static_cast<std::uint8_t>(p.transparency & 0xFF);
    else if (p.transparency & 0x01000000)
        rgb.a = context.blockColor.a;
    else
        rgb.a = layer(layerId).alpha;
    return rgb;
}

int StyleResolver::lineWeight(const Entity& entity, const PaintContext& context) {
    return resolvedWeight(props(entity), effectiveLayer(entity, context), context);
}

int StyleResolver::resolvedWeight(const EntityProps& p, ObjectId layerId, const PaintContext& context) {
    int w = p.lineWeight;
    if (w == -1) w = layer(layerId).lineWeight;
    else if (w == -2) w = context.blockLineweight;
    if (w < 0) w = weights_.defaultWeight;
    return w;
}

ObjectId StyleResolver::linetype(const Entity& entity, const PaintContext& context) {
    return resolvedLinetype(props(entity), effectiveLayer(entity, context), context);
}

ObjectId StyleResolver::resolvedLinetype(const EntityProps& p, ObjectId layerId, const PaintContext& context) {
    ObjectId id = p.linetype;
    for (int guard = 0; guard < 3; ++guard) {
        const LinetypeInfo& info = linetypeInfo(id);
        switch (info.kind) {
            case LinetypeInfo::Kind::Continuous: return ObjectId();
            case LinetypeInfo::Kind::Pattern: return id;
            case LinetypeInfo::Kind::ByLayer: id = layer(layerId).linetype; break;
            case LinetypeInfo::Kind::ByBlock: id = context.blockLinetype; break;
        }
        if (id.isNull()) return ObjectId();
    }
    return ObjectId();
}

double StyleResolver::deviceWidth(int lineWeight) const {
    return std::max(weights_.minimumWidth, lineWeight / 100.0 * weights_.unitsPerMm);
}

Pen StyleResolver::pen(const Entity& entity, const PaintContext& context, double unitsPerDrawingUnit,
                       std::optional<ObjectId> linetype) {
    // One look at the entity's own properties serves colour, weight and linetype.
    EntityProps p = props(entity);
    if (linetype) p.linetype = *linetype;
    const ObjectId layerId = effectiveLayer(entity, context);
    Pen pen;
    pen.color = resolvedColor(p, layerId, context);
    pen.width = deviceWidth(resolvedWeight(p, layerId, context));
    const ObjectId lt = resolvedLinetype(p, layerId, context);
    if (lt.isNull()) return pen;
    const LinetypeInfo& info = linetypeInfo(lt);
    const double factor = ltscale_ * p.linetypeScale * unitsPerDrawingUnit;
    double total = 0.0;
    for (double d : info.dashes) total += d * factor;
    // A pattern finer than a few device units would look like a continuous line anyway.
    if (!(factor > 0) || total < 3.0 * pen.width) return pen;
    for (double d : info.dashes) pen.dashes.push_back(std::max(d * factor, d == 0.0 ? pen.width * 0.5 : 0.0));
    pen.dashOffset = info.offset * factor;
    if (!info.marks.empty()) {
        pen.marks = &info.marks;
        pen.markScale = factor;
        pen.patternLength = total;
    }
    return pen;
}

}  // namespace cad
