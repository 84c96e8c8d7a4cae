#pragma once
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/db/Color.h"
#include "engine/db/ObjectId.h"
#include "engine/render/PaintContext.h"
#include "engine/render/RenderTypes.h"

namespace cad {

class Database;
class Entity;

// How line weights become device widths.
struct LineWeightScale {
    double unitsPerMm = 96.0 / 25.4;  // device units per millimetre of line weight
    double minimumWidth = 1.0;        // thinnest line drawn, in device units
    int defaultWeight = 25;           // what the default weight (-3) means, in 1/100 mm
};

// The properties of an entity that drawing resolves. Entities kept as tags carry theirs in the
// tags (62, 420, 6, 48, 370, 60), the others in their fields.
struct EntityProps {
    ObjectId layer;
    Color color = Color::byLayer();
    ObjectId linetype;          // null: BYLAYER
    double linetypeScale = 1.0;
    int lineWeight = -1;
    bool visible = true;
    // 440: 0x02000000 plus the opacity (0..255); 0x01000000 by block; 0 (or none) by layer.
    std::int64_t transparency = 0;
};

// Resolves an entity's layer, colour, linetype and line weight through BYLAYER and BYBLOCK into
// what is drawn. Layer and linetype records are read once per rendering.
class StyleResolver {
public:
    StyleResolver(const Database& db, LineWeightScale weights);

    // False for an invisible entity or one on a layer that is off, frozen (also frozen in the
    // viewport drawn through) or not plotted.
    bool isShown(const Entity& entity, const PaintContext& context);
    EntityProps props(const Entity& entity) const;
    // The layer whose BYLAYER properties the entity takes.
    ObjectId effectiveLayer(const Entity& entity, const PaintContext& context) const;
    Rgb color(const Entity& entity, const PaintContext& context);
    Rgb colorOf(const Color& color, ObjectId layer, const PaintContext& context);
    // 1/100 mm, resolved (never negative).
    int lineWeight(const Entity& entity, const PaintContext& context);
    // The linetype drawn (null when continuous).
    ObjectId linetype(const Entity& entity, const PaintContext& context);
    // The pen for a curve of the entity; `unitsPerDrawingUnit` is the device scale where it is
    // drawn (view scale times the block scale).
    // `linetype`, when given, stands for the entity's own (a part of it drawn in another).
    Pen pen(const Entity& entity, const PaintContext& context, double unitsPerDrawingUnit,
            std::optional<ObjectId> linetype = std::nullopt);
    double deviceWidth(int lineWeight) const;
    const LineWeightScale& weights() const { return weights_; }

    // Palette colour 7 (and its true-colour twin white) is drawn in black on the white sheet.
    static Rgb drawnRgb(std::uint8_t r, std::uint8_t g, std::uint8_t b);

private:
    struct LayerInfo {
        Rgb color;
        ObjectId linetype;
        int lineWeight = -3;
        bool hidden = false;
        bool isZero = false;
        std::uint8_t alpha = 255;
    };
    struct LinetypeInfo {
        enum class Kind { Continuous, ByLayer, ByBlock, Pattern } kind = Kind::Continuous;
        std::vector<double> dashes;  // alternating on, off from the first dash, drawing units
        double offset = 0.0;         // where in that list the pattern starts
        std::vector<LinetypeMark> marks;
    };
    const LayerInfo& layer(ObjectId id);
    Rgb resolvedColor(const EntityProps& p, ObjectId layerId, const PaintContext& context);
    const LinetypeInfo& linetypeInfo(ObjectId id);
    int resolvedWeight(const EntityProps& p, ObjectId layer, const PaintContext& context);
    ObjectId resolvedLinetype(const EntityProps& p, ObjectId layer, const PaintContext& context);

    const Database& db_;
    LineWeightScale weights_;
    double ltscale_ = 1.0;
    std::unordered_map<ObjectId, LayerInfo> layers_;
    std::unordered_map<ObjectId, LinetypeInfo> linetypes_;
    // The last of each looked up: an entity's checks ask for the same layer several times, and
    // entities come in runs on one layer. The maps' entries never move.
    ObjectId lastLayerId_, lastLinetypeId_;
    const LayerInfo* lastLayer_ = nullptr;
    const LinetypeInfo* lastLinetype_ = nullptr;
};

}  // namespace cad
