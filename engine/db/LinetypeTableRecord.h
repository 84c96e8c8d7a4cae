#pragma once
#include <vector>

#include "engine/db/SymbolTable.h"

namespace cad {

class LinetypeTableRecord : public SymbolTableRecord {
public:
    // One element of the pattern: a dash (> 0), a gap (< 0) or a dot (0), optionally carrying a
    // shape or a text.
    struct Dash {
        double length = 0.0;
        int complexFlags = 0;  // 74: 1 absolute rotation, 2 text, 4 shape
        int shapeNumber = 0;
        ObjectId style;
        double scale = 1.0, rotation = 0.0, xOffset = 0.0, yOffset = 0.0;
        std::string text;
        friend bool operator==(const Dash&, const Dash&) = default;
    };

    explicit LinetypeTableRecord(std::string_view name = {}) : SymbolTableRecord("LTYPE", name) {}
    ObjectKind kind() const override { return ObjectKind::LinetypeTableRecord; }
    std::string_view className() const override { return "AcDbLinetypeTableRecord"; }
    TableKind tableKind() const override { return TableKind::Linetype; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<LinetypeTableRecord>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& description() const { return description_; }
    void setDescription(std::string text) { assign(description_, std::move(text)); }
    const std::vector<Dash>& dashes() const { return dashes_; }
    void setDashes(std::vector<Dash> dashes) { assign(dashes_, std::move(dashes)); }
    // Sum of the absolute dash lengths.
    double patternLength() const;
    bool isContinuous() const { return dashes_.empty(); }

private:
    std::string description_;
    std::vector<Dash> dashes_;
};

}  // namespace cad
