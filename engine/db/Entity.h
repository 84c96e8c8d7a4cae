#pragma once
#include <string>
#include <string_view>

#include "engine/db/Color.h"
#include "engine/db/DbObject.h"
#include "engine/geometry/Extents3d.h"
#include "engine/geometry/Matrix3d.h"

namespace cad {

// Base of everything drawn: the common properties and the geometric protocol.
class Entity : public DbObject {
public:
    bool isEntity() const override { return true; }

    ObjectId layerId() const { return layer_; }
    void setLayer(ObjectId layer) { assign(layer_, layer); }
    // eKeyNotFound when the database has no such layer.
    ErrorStatus setLayer(std::string_view name);
    std::string layerName() const;

    const Color& color() const { return color_; }
    void setColor(const Color& color) { assign(color_, color); }
    int colorIndex() const { return color_.colorIndex(); }
    void setColorIndex(int index) { setColor(Color::fromIndex(index)); }

    // The null id means BYLAYER.
    ObjectId linetypeId() const { return linetype_; }
    void setLinetype(ObjectId linetype) { assign(linetype_, linetype); }
    ErrorStatus setLinetype(std::string_view name);
    std::string linetypeName() const;
    double linetypeScale() const { return linetypeScale_; }
    void setLinetypeScale(double scale) { assign(linetypeScale_, scale); }

    // 1/100 mm; -1 BYLAYER, -2 BYBLOCK, -3 default.
    int lineWeight() const { return lineWeight_; }
    void setLineWeight(int weight) { assign(lineWeight_, static_cast<std::int16_t>(weight)); }

    bool isVisible() const { return visible_; }
    void setVisible(bool visible) { assign(visible_, visible); }

    // Layer, colour, linetype, scale, weight and visibility of `other`.
    void setPropertiesFrom(const Entity& other);
    // The current layer of the database, when no layer is set yet.
    void setDatabaseDefaults();

    // The block record that holds the entity (for an attribute, the reference's block record).
    ObjectId blockId() const;

    virtual ErrorStatus transformBy(const Matrix3d& transform);
    // World extents of the geometry; eNotApplicable for entities without geometry.
    virtual ErrorStatus getGeomExtents(Extents3d& extents) const;

    void remapIds(const IdMapping& mapping) override;

protected:
    explicit Entity(const char* dxfName) : DbObject(dxfName) {}
    Entity(const Entity&) = default;

private:
    ObjectId layer_, linetype_;
    Color color_ = Color::byLayer();
    double linetypeScale_ = 1.0;
    std::int16_t lineWeight_ = -1;
    bool visible_ = true;
};

}  // namespace cad
