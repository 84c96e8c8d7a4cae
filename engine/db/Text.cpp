#include "engine/db/Text.h"

#include <algorithm>
#include <cmath>

#include "engine/db/Attribute.h"
#include "engine/db/AttributeDefinition.h"
#include "engine/db/IdMapping.h"
#include "engine/db/PlanarTransform.h"
#include "engine/db/TagValue.h"
#include "engine/geometry/BlockTransform.h"
#include "engine/text/CaretNotation.h"

namespace cad {

const Text::Uncommon& Text::uncommon() const {
    static const Uncommon kDefault;
    return uncommon_.orDefault(kDefault);
}

std::pair<std::size_t, std::size_t> Text::multilineRange() const {
    const RawTagList& extra = extraTags();
    const auto from = std::find_if(extra.begin(), extra.end(), [](const RawTag& t) { return t.code == 101; });
    if (from == extra.end()) return {extra.size(), extra.size()};
    // It runs to the end, or to a subclass marker a damaged file put after it.
    const auto to = std::find_if(from + 1, extra.end(), [](const RawTag& t) { return t.code == 100; });
    return {static_cast<std::size_t>(from - extra.begin()), static_cast<std::size_t>(to - extra.begin())};
}

namespace {

// The value as the multi-line part holds it, in the file's own form: line ends as paragraph
// breaks, other control characters and carets in caret notation.
std::string multilineContent(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\r' || c == '\n') {
            out += "\\P";
            if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
        } else if (c == '\\' || c == '{' || c == '}') {
            // Formatting in a multi-line text: the value's own are escaped.
            out += '\\';
            out += c;
        } else {
            appendInCaretNotation(out, c);
        }
    }
    return out;
}

}  // namespace

std::span<const RawTag> Text::multilinePart() const {
    const auto [first, end] = multilineRange();
    return std::span<const RawTag>(extraTags()).subspan(first, end - first);
}

void Text::setTextString(std::string text) {
    if (text == text_) return;
    if (const auto [first, last] = multilineRange(); first < last) {
        RawTagList& extra = editExtraTags();
        const auto from = extra.begin() + static_cast<std::ptrdiff_t>(first);
        const auto to = extra.begin() + static_cast<std::ptrdiff_t>(last);
        // The text goes where its old pieces stood: 250-byte pieces (3), the rest last (1).
        auto at = std::find_if(from, to, [](const RawTag& t) { return t.code == 1 || t.code == 3; });
        const std::ptrdiff_t place = (at == to ? to : at) - extra.begin();
        const auto end =
            std::remove_if(from + 1, to, [](const RawTag& t) { return t.code == 1 || t.code == 3; });
        extra.erase(end, to);
        const std::string content = multilineContent(text);
        RawTagList pieces;
        std::size_t i = 0;
        while (content.size() - i > 250) {
            const std::size_t n = firstPieceLength(std::string_view(content).substr(i), 250);
            pieces.push_back({3, content.substr(i, n)});
            i += n;
        }
        pieces.push_back({1, content.substr(i)});
        const std::ptrdiff_t limit =
            std::min<std::ptrdiff_t>(place, static_cast<std::ptrdiff_t>(extra.size()));
        extra.insert(extra.begin() + limit, pieces.begin(), pieces.end());
    }
    assign(text_, std::move(text));
}

void Text::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    style_ = mapping.translate(style_);
}

ErrorStatus Text::transformBy(const Matrix3d& transform) {
    PlanarTransform t(normal(), transform);
    Vector3d along{std::cos(rotation_), std::sin(rotation_), 0};
    Vector3d up{-std::sin(rotation_), std::cos(rotation_), 0};
    Vector3d newAlong = t.applyVector(along), newUp = t.applyVector(up);
    double xScale = newAlong.length(), yScale = newUp.length();
    if (xScale == 0.0 || yScale == 0.0) return ErrorStatus::eInvalidInput;
    // Field by field, so that a transformation that moves nothing (an identity, a UCS there and
    // back) leaves the text unmodified.
    assign(position_, t.apply(position_));
    assign(alignment_, t.apply(alignment_));
    assign(rotation_, std::atan2(newAlong.y, newAlong.x));
    assign(height_, height_ * yScale);
    assign(widthFactor_, widthFactor_ * (xScale / yScale));
    setThickness(thickness() * transform.transformVector(normal()).length());
    setNormal(t.newNormal());
    transformMultilinePart(transform, xScale, yScale);
    return ErrorStatus::eOk;
}

void Text::transformMultilinePart(const Matrix3d& transform, double xScale, double yScale) {
    // Its insertion point (10), direction (11) and normal (210) are in world coordinates; its
    // height (40) and box width (41) go with the text's. Only values that change are written, so
    // that a transformation that moves nothing leaves the text as read.
    // Plain names: the lambdas below use them, and some compilers cannot capture structured bindings.
    const std::pair<std::size_t, std::size_t> range = multilineRange();
    const std::size_t first = range.first, last = range.second;
    if (first == last) return;
    std::vector<std::pair<std::size_t, double>> changes;  // index into the extra tags, new value
    const auto find = [&](int code) -> std::optional<std::size_t> {
        for (std::size_t i = first; i < last; ++i)
            if (extraTags()[i].code == code) return i;
        return std::nullopt;
    };
    const auto value = [&](std::size_t i) { return parseDouble(extraTags()[i].value).value_or(0.0); };
    const auto change = [&](std::size_t i, double v) {
        if (value(i) != v) changes.emplace_back(i, v);
    };
    for (const auto& [code, point] : {std::pair{10, true}, std::pair{11, false}, std::pair{210, false}}) {
        const auto x = find(code), y = find(code + 10), z = find(code + 20);
        if (!x || !y) continue;
        const Vector3d v(value(*x), value(*y), z ? value(*z) : 0.0);
        const Vector3d q = point ? (transform * (Point3d() + v)).asVector() : transform * v;
        change(*x, q.x);
        change(*y, q.y);
        if (z) change(*z, q.z);
    }
    if (const auto height = find(40)) change(*height, value(*height) * yScale);
    if (const auto width = find(41)) change(*width, value(*width) * xScale);
    if (changes.empty()) return;
    RawTagList& extra = editExtraTags();
    for (const auto& [i, v] : changes) extra[i].value = formatDouble(v);
}

ErrorStatus Text::getGeomExtents(Extents3d& extents) const {
    double width = 0.6 * height_ * widthFactor_ * static_cast<double>(text_.size());
    Point3d anchor = position_;
    double left = 0.0, bottom = 0.0;
    if (!isDefaultAlignment()) {
        anchor = alignment_;
        switch (horizontal_) {
            case HorizontalMode::Center:
            case HorizontalMode::Middle: left = -width / 2; break;
            case HorizontalMode::Right: left = -width; break;
            case HorizontalMode::Aligned:
            case HorizontalMode::Fit:
                anchor = position_;
                width = position_.distanceTo(alignment_);
                break;
            case HorizontalMode::Left: break;
        }
        if (horizontal_ == HorizontalMode::Middle || vertical_ == VerticalMode::Middle) bottom = -height_ / 2;
        else if (vertical_ == VerticalMode::Top) bottom = -height_;
    }
    extents = Extents3d();
    const Vector3d& n = normal();
    if (n.x == 0.0 && n.y == 0.0 && n.z > 0.0) {
        const double c = std::cos(rotation_), s = std::sin(rotation_);
        for (double x : {left, left + width})
            for (double y : {bottom, bottom + height_})
                extents.addPoint({anchor.x + c * x - s * y, anchor.y + s * x + c * y, anchor.z});
        return ErrorStatus::eOk;
    }
    Matrix3d place = ocsToWorld(n) * Matrix3d::translation(anchor.asVector()) *
                     Matrix3d::rotation(rotation_, Vector3d::zAxis());
    for (double x : {left, left + width})
        for (double y : {bottom, bottom + height_}) extents.addPoint(place * Point3d(x, y, 0));
    return ErrorStatus::eOk;
}

namespace {
bool isValidTag(const std::string& tag) { return !tag.empty() && tag.find(' ') == std::string::npos; }
}  // namespace

ErrorStatus AttributeText::setTag(std::string tag) {
    if (!isValidTag(tag)) return ErrorStatus::eInvalidInput;
    assign(tag_, std::move(tag));
    return ErrorStatus::eOk;
}

ErrorStatus Attribute::getGeomExtents(Extents3d& extents) const {
    if (isInvisible()) return ErrorStatus::eNotApplicable;
    return Text::getGeomExtents(extents);
}

void Attribute::setAttributeFromBlock(const AttributeDefinition& def, const Matrix3d& blockTransform) {
    setPropertiesFrom(def);
    takeAttributePart(def, AttributeFlags::kConstant);
    setTextString(def.textString());
    setPosition(def.position());
    setAlignmentPoint(def.alignmentPoint());
    setHeight(def.height());
    setRotation(def.rotation());
    setWidthFactor(def.widthFactor());
    setOblique(def.oblique());
    setTextStyle(def.textStyle());
    setHorizontalMode(def.horizontalMode());
    setVerticalMode(def.verticalMode());
    setGenerationFlags(def.generationFlags());
    setNormal(def.normal());
    setThickness(def.thickness());
    takeMultilinePart(def);
    transformBy(blockTransform);
}

void Attribute::takeMultilinePart(const AttributeDefinition& def) {
    // A multi-line definition makes a multi-line attribute (71: 4 on the definition, 2 here), its
    // text part in block coordinates until transformBy carries it to the reference.
    const std::span<const RawTag> part = def.multilinePart();
    if (part.empty() || !multilinePart().empty()) return;
    RawTagList& extra = editExtraTags();
    extra.push_back({100, "AcDbAttribute"});
    extra.push_back({71, "2"});
    extra.insert(extra.end(), part.begin(), part.end());
}

}  // namespace cad
