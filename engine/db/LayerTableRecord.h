#pragma once
#include "engine/db/Color.h"
#include "engine/db/SymbolTable.h"

namespace cad {

class LayerTableRecord : public SymbolTableRecord {
public:
    explicit LayerTableRecord(std::string_view name = {}) : SymbolTableRecord("LAYER", name) {}
    ObjectKind kind() const override { return ObjectKind::LayerTableRecord; }
    std::string_view className() const override { return "AcDbLayerTableRecord"; }
    TableKind tableKind() const override { return TableKind::Layer; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<LayerTableRecord>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const Color& color() const { return color_; }
    void setColor(const Color& color) { assign(color_, color); }
    ObjectId linetypeId() const { return linetype_; }
    void setLinetypeId(ObjectId id) { assign(linetype_, id); }
    // In 1/100 mm; -3 is the default weight.
    int lineWeight() const { return lineWeight_; }
    void setLineWeight(int weight) { assign(lineWeight_, static_cast<std::int16_t>(weight)); }

    bool isFrozen() const { return (flags() & 1) != 0; }
    void setFrozen(bool on) { setFlags(on ? flags() | 1 : flags() & ~1); }
    bool isFrozenInNewViewports() const { return (flags() & 2) != 0; }
    void setFrozenInNewViewports(bool on) { setFlags(on ? flags() | 2 : flags() & ~2); }
    bool isLocked() const { return (flags() & 4) != 0; }
    void setLocked(bool on) { setFlags(on ? flags() | 4 : flags() & ~4); }
    // Off is written as a negative colour number in DXF.
    bool isOff() const { return off_; }
    void setOff(bool on) { assign(off_, on); }
    bool isPlottable() const { return plottable_; }
    void setPlottable(bool on) { assign(plottable_, on); }

private:
    Color color_ = Color::fromIndex(7);
    ObjectId linetype_;
    std::int16_t lineWeight_ = -3;
    bool off_ = false;
    bool plottable_ = true;
};

}  // namespace cad
