#pragma once
#include <array>
#include <string>

#include "engine/db/Color.h"
#include "engine/db/DbObject.h"

namespace cad {

// A table style (entry of ACAD_TABLESTYLE). Rows are data, title and header, in that order.
class TableStyle : public DbObject {
public:
    enum Row { Data = 0, Title = 1, Header = 2 };
    struct CellStyle {
        ObjectId textStyle;
        double textHeight = 4.5;
        int alignment = 2;  // 1..9, top-left to bottom-right
        Color textColor = Color::byBlock();
        Color fillColor = Color::byBlock();
        bool fillEnabled = false;
    };

    TableStyle();
    ObjectKind kind() const override { return ObjectKind::TableStyle; }
    std::string_view className() const override { return "AcDbTableStyle"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<TableStyle>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& description() const { return description_; }
    void setDescription(std::string text) { assign(description_, std::move(text)); }
    int flowDirection() const { return flow_; }
    void setFlowDirection(int flow) { assign(flow_, flow); }
    int flags() const { return flags_; }
    void setFlags(int flags) { assign(flags_, flags); }
    double horizontalMargin() const { return horzMargin_; }
    void setHorizontalMargin(double m) { assign(horzMargin_, m); }
    double verticalMargin() const { return vertMargin_; }
    void setVerticalMargin(double m) { assign(vertMargin_, m); }
    bool isTitleSuppressed() const { return titleSuppressed_; }
    void setTitleSuppressed(bool on) { assign(titleSuppressed_, on); }
    bool isHeaderSuppressed() const { return headerSuppressed_; }
    void setHeaderSuppressed(bool on) { assign(headerSuppressed_, on); }

    const CellStyle& cellStyle(Row row) const { return cells_[row]; }
    CellStyle& cellStyle(Row row) { touch(); return cells_[row]; }

private:
    std::string description_;
    int flow_ = 0, flags_ = 0;
    double horzMargin_ = 1.5, vertMargin_ = 1.5;
    bool titleSuppressed_ = false, headerSuppressed_ = false;
    std::array<CellStyle, 3> cells_;
};

}  // namespace cad
