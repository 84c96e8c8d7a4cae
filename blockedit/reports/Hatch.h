#pragma once
#include <memory>
#include <string>

#include "engine/api/Drawing.h"

namespace cad {
class Database;
class Entity;
class Hatch;
}  // namespace cad

// How one thing is hatched: every hatched space block, asset, legend swatch and pie segment uses
// these settings the same way.
class CKorvaExceptions;

class CHatch {
public:
    static constexpr const char* kDefaultLayer = "_Korva";

    CHatch() = default;
    explicit CHatch(std::string pattern) : pattern_(std::move(pattern)) {}

    const std::string& getPattern() const { return pattern_; }
    void setPattern(std::string pattern) { pattern_ = std::move(pattern); }
    int getAngle() const { return angle_; }
    void setAngle(int angle) { angle_ = angle; }
    int getScale() const { return scale_; }
    void setScale(int scale) { scale_ = scale; }
    const std::string& getLayer() const { return layer_; }
    void setLayer(std::string layer) { layer_ = std::move(layer); }
    const cad::Color& getColour() const { return colour_; }
    // The layer as the drawing gets it: without the characters a layer name cannot hold, and the
    // default hatch layer when nothing is left.
    std::string validLayer() const;
    void setColour(const cad::Color& colour) { colour_ = colour; }

    // Angle, colour, layer, pattern and scale.
    void copyTo(CHatch& target) const;
    std::unique_ptr<CHatch> clone() const;

    // A hatch entity with these settings and no loops, not yet in the drawing: the integer angle
    // is the pattern angle as it stands, the scale a double, not associative, predefined pattern,
    // the colour as a true colour, normal style, the user z axis as normal, elevation 0, on the
    // hatch layer, which is created with the hatch colour when the drawing lacks it.
    std::unique_ptr<cad::Hatch> createHatchEntity(cad::Database& db) const;

    // Evaluates the hatch's pattern over its loops: eHatchTooDense (420) and eHatchTooSparse (5)
    // for patterns the boundary cannot show, another status for a pattern the drawing does not
    // know or a hatch without a usable loop. The definition lines are stored on the hatch
    // whatever the verdict, so that the hatch can still be written.
    static cad::ErrorStatus evaluateHatch(cad::Hatch& hatch);
    // Adds the error a density verdict of evaluateHatch gives ("too dense", "too sparse") for the
    // object text; false for any other status, which the caller judges.
    bool collectDensityError(cad::ErrorStatus evaluation, const std::string& object, CKorvaExceptions& errors,
                             const char* fileName, const char* procSig) const;

    // Appends the entity to model space; its id. A refusal is thrown as a host error.
    static cad::ObjectId postToModelSpace(cad::Database& db, std::unique_ptr<cad::Entity> entity);

    // Makes sure the layer exists; a new layer gets the colour.
    static void ensureLayerExists(cad::Database& db, const std::string& layer, const cad::Color& colour);

private:
    std::string pattern_;
    int angle_ = 0;
    int scale_ = 0;
    std::string layer_ = kDefaultLayer;
    cad::Color colour_ = cad::Color::fromRgb(0, 0, 0);
};
