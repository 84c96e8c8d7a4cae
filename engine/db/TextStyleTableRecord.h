#pragma once
#include "engine/db/SymbolTable.h"

namespace cad {

class TextStyleTableRecord : public SymbolTableRecord {
public:
    explicit TextStyleTableRecord(std::string_view name = {}) : SymbolTableRecord("STYLE", name) {}
    ObjectKind kind() const override { return ObjectKind::TextStyleTableRecord; }
    std::string_view className() const override { return "AcDbTextStyleTableRecord"; }
    TableKind tableKind() const override { return TableKind::TextStyle; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<TextStyleTableRecord>(*this); }

    // 0 means the height is given per text.
    double textSize() const { return textSize_; }
    void setTextSize(double size) { textSize_ = size; touch(); }
    double xScale() const { return xScale_; }
    void setXScale(double factor) { xScale_ = factor; touch(); }
    // Radians.
    double obliquingAngle() const { return oblique_; }
    void setObliquingAngle(double radians) { oblique_ = radians; touch(); }
    // 71: 2 backward, 4 upside down.
    int generationFlags() const { return generation_; }
    void setGenerationFlags(int flags) { generation_ = flags; touch(); }
    double priorSize() const { return priorSize_; }
    void setPriorSize(double size) { priorSize_ = size; touch(); }
    const std::string& fileName() const { return font_; }
    void setFileName(std::string file) { font_ = std::move(file); touch(); }
    const std::string& bigFontFileName() const { return bigFont_; }
    void setBigFontFileName(std::string file) { bigFont_ = std::move(file); touch(); }
    bool isShapeFile() const { return (flags() & 1) != 0; }
    bool isVertical() const { return (flags() & 4) != 0; }

private:
    double textSize_ = 0.0, xScale_ = 1.0, oblique_ = 0.0, priorSize_ = 2.5;
    int generation_ = 0;
    std::string font_ = "txt", bigFont_;
};

}  // namespace cad
