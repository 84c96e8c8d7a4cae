#pragma once
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/db/ObjectId.h"
#include "engine/db/Viewport.h"
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"
#include "engine/render/Canvas.h"
#include "engine/render/PaintContext.h"
#include "engine/render/RenderReport.h"
#include "engine/render/RenderTypes.h"

namespace cad {

class Database;
class Entity;
class FontLibrary;
class StyleResolver;
class Text;
class Polyline;
class Hatch;
class BlockReference;
class UnknownEntity;
struct FontFace;

// Where and how a multi-line text stands (MTEXT, and the text of a multileader).
struct MTextPlacement {
    std::string body;          // with its formatting codes
    double height = 2.5;
    ObjectId style;            // null: "Standard"
    double boxWidth = 0.0;     // 0: no wrapping
    int attachment = 1;        // 1..9: top left .. bottom right
    Vector3d normal = Vector3d::zAxis();
    Point3d insert;            // world
    double rotation = 0.0;     // radians, in the plane of `normal`
    double lineSpacing = 1.0;
    // Lines flow into columns side by side: to the next below a column's height, and after a
    // column break.
    bool columns = false;
    double columnWidth = 0.0, columnGutter = 0.0;
    double columnHeight = 0.0;          // 0: no limit
    std::vector<double> columnHeights;  // each column's own where given (0: no limit)
    bool columnsReversed = false;       // right to left
    // A background mask: the text's box filled in this colour before the text, larger by
    // `maskMargin` on every side.
    std::optional<Rgb> mask;
    double maskMargin = 0.0;
};

// Draws the entities of a drawing's blocks onto a canvas: each entity becomes strokes, fills,
// dots and texts in device coordinates. What it cannot draw is counted in the report.
class DrawingPainter {
public:
    DrawingPainter(const Database& db, Canvas& canvas, FontLibrary& fonts, StyleResolver& styles, RenderReport& report);

    // Drawing units (of the space drawn) -> device.
    void setWorldToDevice(const Affine2d& toDevice) { toDevice_ = toDevice; }
    const Affine2d& worldToDevice() const { return toDevice_; }
    // When measuring, patterns are not evaluated (their boundary stands for them).
    void setMeasuring(bool on) { measuring_ = on; }
    // Texts whose capitals would stand lower than this many device units are drawn as a filled
    // box of their size: in a picture they would be a smudge anyway, and glyphs cost much more.
    void setGreekingHeight(double deviceUnits) { greekBelow_ = deviceUnits; }
    // Draw orders of blocks, looked up once and kept here: painters of one drawing may share them.
    using BlockOrders = std::unordered_map<ObjectId, std::vector<ObjectId>>;
    // A block's entities in the order they are drawn. Erased ones may be among them (painting
    // skips them): sorting them out would touch every object of a large model space once more.
    static std::vector<ObjectId> paintOrder(const Database& db, ObjectId block);
    void shareBlockOrders(BlockOrders& orders) { orders_ = &orders; }
    // Paper-space viewports are handed to this instead of being drawn.
    void setViewportHandler(std::function<void(const Viewport&)> handler) { onViewport_ = std::move(handler); }

    // Every live entity of the block, in draw order; or those from `from` to before `to` in it.
    void paintBlock(ObjectId block, const PaintContext& context);
    void paintBlock(ObjectId block, const PaintContext& context, std::size_t from, std::size_t to);
    // References multiply: a block placed twice in itself, or a grid of grids, would take the rest
    // of time to draw. Past this many copies in one painting the rest are counted, not drawn.
    static constexpr std::size_t kMaxBlockCopies = 2'000'000;
    void paintEntity(const Entity& entity, const PaintContext& context);

private:
    // Fills the context's device mapping for the current world-to-device map.
    void prepare(PaintContext& context) const;
    // The plane z = elevation of the object coordinate system of `normal` -> device.
    Affine2d planeToDevice(const PaintContext& context, const Vector3d& normal, double elevation) const;
    Point2d toDevice(const PaintContext& context, const Point3d& world) const;
    // Device units per drawing unit where the context draws.
    double deviceScale(const PaintContext& context) const;
    // Chord tolerance in the units that `map` takes.
    static double chordTolerance(const Affine2d& map);

    // The entity's pen (StyleResolver::pen); a plain one while measuring.
    Pen penOf(const Entity& entity, const PaintContext& c, double unitsPerDrawingUnit,
              std::optional<ObjectId> linetype = std::nullopt);
    void strokeRun(std::vector<Point2d> devicePoints, bool closed, const Pen& pen);
    // The run strokeKept draws, emptied: filled in place, it spares an allocation per entity.
    std::vector<Point2d>& keptRun();
    void strokeKept(bool closed, const Pen& pen);
    // The texts of a complex linetype along a run stroked with its pen.
    void paintLinetypeMarks(const std::vector<Point2d>& devicePoints, bool closed, const Pen& pen);
    void paintLine(const Entity& e, const PaintContext& c);
    void paintCircle(const Entity& e, const PaintContext& c);
    void paintPolyline(const Polyline& pl, const PaintContext& c);
    void paintText(const Text& text, const PaintContext& c, bool showTag);
    void paintHatch(const Hatch& hatch, const PaintContext& c);
    void paintReference(const BlockReference& ref, const PaintContext& c);
    void paintBlockAs(ObjectId block, const Matrix3d& transform, const Entity& owner, const PaintContext& c);
    void paintUnknown(const UnknownEntity& e, const PaintContext& c);
    // Model space seen through it (by the viewport handler), then its border.
    void paintViewport(const Viewport& vp, const Entity& e, const PaintContext& c);
    Viewport viewportOf(const UnknownEntity& e) const;
    void paintMultiline(const UnknownEntity& e, const PaintContext& c);
    void paintEllipse(const UnknownEntity& e, const PaintContext& c);
    void paintSolid(const UnknownEntity& e, const PaintContext& c);
    void paintFace(const UnknownEntity& e, const PaintContext& c);
    void paintPoint(const UnknownEntity& e, const PaintContext& c);
    void paintMText(const UnknownEntity& e, const PaintContext& c);
    void paintFormattedText(const MTextPlacement& m, const Entity& owner, const PaintContext& c);
    void paintOldPolyline(const UnknownEntity& e, const PaintContext& c);
    void paintSpline(const UnknownEntity& e, const PaintContext& c);
    void paintLeader(const UnknownEntity& e, const PaintContext& c);
    void paintMultiLeader(const UnknownEntity& e, const PaintContext& c);
    void paintConstructionLine(const UnknownEntity& e, const PaintContext& c, bool bothWays);
    void paintMesh(const UnknownEntity& e, const PaintContext& c);
    // A closed filled arrowhead with its tip at `tip` pointing away from `from`, device units.
    void paintArrowhead(const Point2d& tip, const Point2d& from, double length, Rgb color);
    void paintImageFrame(const UnknownEntity& e, const PaintContext& c);
    void paintTextLine(const FontFace& face, const std::string& text, const Affine2d& glyphToDevice, double advance,
                       Rgb color);

    const FontFace& faceOfStyle(ObjectId style);
    const std::vector<ObjectId>& blockOrder(ObjectId block);

    const Database& db_;
    Canvas& canvas_;
    FontLibrary& fonts_;
    StyleResolver& styles_;
    RenderReport& report_;
    Affine2d toDevice_;
    bool measuring_ = false;
    DevicePath runPath_;  // strokeRun's
    double greekBelow_ = 0.0;
    std::function<void(const Viewport&)> onViewport_;
    BlockOrders ownOrders_;
    BlockOrders* orders_ = &ownOrders_;
    // The font of each text style met: a large drawing has a hundred thousand texts in a few styles.
    std::unordered_map<ObjectId, const FontFace*> styleFaces_;
};

}  // namespace cad
