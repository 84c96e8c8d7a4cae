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
    void setTextSize(double size) { assign(textSize_, size); }
    double xScale() const { return xScale_; }
    void setXScale(double factor) { assign(xScale_, factor); }
    // Radians.
    double obliquingAngle() const { return oblique_; }
    void setObliquingAngle(double radians) { assign(oblique_, radians); }
    // 71: 2 backward, 4 upside down.
    int generationFlags() const { return generation_; }
    void setGenerationFlags(int flags) { assign(generation_, flags); }
    double priorSize() const { return priorSize_; }
    void setPriorSize(double size) { assign(priorSize_, size); }
    const std::string& fileName() const { return font_; }
    void setFileName(std::string file) { assign(font_, std::move(file)); }
    const std::string& bigFontFileName() const { return bigFont_; }
    void setBigFontFileName(std::string file) { assign(bigFont_, std::move(file)); }
    bool isShapeFile() const { return (flags() & 1) != 0; }
    bool isVertical() const { return (flags() & 4) != 0; }

private:
    double textSize_ = 0.0, xScale_ = 1.0, oblique_ = 0.0, priorSize_ = 2.5;
    int generation_ = 0;
    std::string font_ = "txt", bigFont_;
};

}  // namespace cad
