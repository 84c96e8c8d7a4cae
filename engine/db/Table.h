#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/db/Entity.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// A table entity (ACAD_TABLE): rows and columns of text and block cells under a table style. What
// it shows is an anonymous block ("*T...") of lines, texts and block references that
// generateLayout() builds, so that programs without tables show it too. Row 0 is at the top and
// the table grows downwards from its position, its top left corner.
class Table : public Entity {
public:
    enum class CellType : std::uint8_t { Text = 1, Block = 2 };
    // Cell alignments as table styles number them: 1 top left, 2 top centre ... 5 middle centre
    // ... 9 bottom right.
    static constexpr int kMiddleCenter = 5;

    struct Cell {
        CellType type = CellType::Text;
        std::string text;
        double textHeight = 0.0;  // 0: the table style's
        int alignment = 0;        // 0: the table style's
        ObjectId block;           // block cells
        bool autoFit = true;      // block cells: scaled to fit the cell
        int rowSpan = 1, columnSpan = 1;  // of a merged range, held by its top left cell
        bool covered = false;             // inside a merged range, not its top left cell
    };

    Table() : Entity("ACAD_TABLE") {}
    ObjectKind kind() const override { return ObjectKind::Table; }
    std::string_view className() const override { return "AcDbTable"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Table>(*this); }
    void remapIds(const IdMapping& mapping) override;

    ObjectId tableStyle() const { return style_; }
    void setTableStyle(ObjectId style) { assign(style_, style); }
    // The anonymous block that shows the table; null until the layout is generated.
    ObjectId blockTableRecord() const { return block_; }
    void setBlockTableRecord(ObjectId block) { assign(block_, block); }
    const Point3d& position() const { return position_; }
    void setPosition(const Point3d& p) { assign(position_, p); }
    const Vector3d& direction() const { return direction_; }
    const Vector3d& normal() const { return normal_; }
    void setNormal(const Vector3d& n) { assign(normal_, n); }

    // ---- grid ----
    // Empty text cells, rows of height 1 and columns of width 1 by default.
    void setSize(int rows, int columns);
    int numRows() const { return static_cast<int>(rowHeights_.size()); }
    int numColumns() const { return static_cast<int>(columnWidths_.size()); }
    double rowHeight(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
    double columnWidth(int column) const { return columnWidths_.at(static_cast<std::size_t>(column)); }
    void setRowHeight(double height);  // every row
    void setRowHeight(int row, double height);
    void setColumnWidth(double width);  // every column
    void setColumnWidth(int column, double width);
    // New empty rows before `row` (numRows() appends); merged ranges below move down with them.
    ErrorStatus insertRows(int row, double height, int count = 1);
    // One cell over the range (inclusive); eInvalidInput for a range outside the grid or
    // overlapping another merged range.
    ErrorStatus mergeCells(int firstRow, int lastRow, int firstColumn, int lastColumn);
    double width() const;
    double height() const;

    // ---- cells ----
    const Cell& cell(int row, int column) const;
    ErrorStatus setTextString(int row, int column, std::string text);
    ErrorStatus setTextHeight(int row, int column, double height);
    ErrorStatus setAlignment(int row, int column, int alignment);
    ErrorStatus setBlockTableRecordId(int row, int column, ObjectId block, bool autoFit);
    // The text height a cell shows: its own, else the style's for its kind of row (row 0 the
    // title, row 1 the header, the others data).
    double effectiveTextHeight(int row, int column) const;
    int effectiveAlignment(int row, int column) const;

    // Builds the anonymous block anew (creating it the first time): the grid lines, a text per
    // text cell and a reference per block cell, at the table's position. Needs the table to be
    // in a database.
    ErrorStatus generateLayout();

    ErrorStatus transformBy(const Matrix3d& transform) override;
    ErrorStatus getGeomExtents(Extents3d& extents) const override;

private:
    Cell& cellAt(int row, int column);
    bool inGrid(int row, int column) const { return row >= 0 && column >= 0 && row < numRows() && column < numColumns(); }

    ObjectId style_, block_;
    Point3d position_;
    Vector3d direction_ = Vector3d(1, 0, 0);
    Vector3d normal_ = Vector3d::zAxis();
    std::vector<double> rowHeights_, columnWidths_;
    std::vector<Cell> cells_;  // row by row
};

}  // namespace cad
