#include "engine/db/Table.h"

#include <algorithm>

#include "engine/db/BlockReference.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/IdMapping.h"
#include "engine/db/Line.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/TableStyle.h"
#include "engine/db/Text.h"
#include "engine/geometry/Extents3d.h"
#include "engine/geometry/Matrix3d.h"

namespace cad {

void Table::remapIds(const IdMapping& mapping) {
    Entity::remapIds(mapping);
    auto remap = [&](ObjectId& id) {
        if (ObjectId to = mapping.find(id)) id = to;
    };
    remap(style_);
    remap(block_);
    for (Cell& c : cells_) remap(c.block);
}

void Table::setSize(int rows, int columns) {
    rows = std::max(rows, 0);
    columns = std::max(columns, 0);
    rowHeights_.assign(static_cast<std::size_t>(rows), 1.0);
    columnWidths_.assign(static_cast<std::size_t>(columns), 1.0);
    cells_.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), Cell{});
    touch();
}

void Table::setRowHeight(double height) {
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
    touch();
}

void Table::setRowHeight(int row, double height) {
    if (row < 0 || row >= numRows()) return;
    assign(rowHeights_[static_cast<std::size_t>(row)], height);
}

void Table::setColumnWidth(double width) {
    std::fill(columnWidths_.begin(), columnWidths_.end(), width);
    touch();
}

void Table::setColumnWidth(int column, double width) {
    if (column < 0 || column >= numColumns()) return;
    assign(columnWidths_[static_cast<std::size_t>(column)], width);
}

ErrorStatus Table::insertRows(int row, double height, int count) {
    if (row < 0 || row > numRows() || count < 1) return ErrorStatus::eInvalidInput;
    const auto columns = static_cast<std::size_t>(numColumns());
    rowHeights_.insert(rowHeights_.begin() + row, static_cast<std::size_t>(count), height);
    cells_.insert(cells_.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(row) * columns),
                  static_cast<std::size_t>(count) * columns, Cell{});
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Table::mergeCells(int firstRow, int lastRow, int firstColumn, int lastColumn) {
    if (!inGrid(firstRow, firstColumn) || !inGrid(lastRow, lastColumn) || lastRow < firstRow ||
        lastColumn < firstColumn)
        return ErrorStatus::eInvalidInput;
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) {
            const Cell& cell = this->cell(r, c);
            if (cell.covered || cell.rowSpan > 1 || cell.columnSpan > 1) return ErrorStatus::eInvalidInput;
        }
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) cellAt(r, c).covered = r != firstRow || c != firstColumn;
    Cell& head = cellAt(firstRow, firstColumn);
    head.rowSpan = lastRow - firstRow + 1;
    head.columnSpan = lastColumn - firstColumn + 1;
    touch();
    return ErrorStatus::eOk;
}

double Table::width() const {
    double w = 0;
    for (double c : columnWidths_) w += c;
    return w;
}

double Table::height() const {
    double h = 0;
    for (double r : rowHeights_) h += r;
    return h;
}

const Table::Cell& Table::cell(int row, int column) const {
    return cells_.at(static_cast<std::size_t>(row) * static_cast<std::size_t>(numColumns()) +
                     static_cast<std::size_t>(column));
}

Table::Cell& Table::cellAt(int row, int column) {
    return cells_.at(static_cast<std::size_t>(row) * static_cast<std::size_t>(numColumns()) +
                     static_cast<std::size_t>(column));
}

ErrorStatus Table::setTextString(int row, int column, std::string text) {
    if (!inGrid(row, column)) return ErrorStatus::eInvalidInput;
    Cell& c = cellAt(row, column);
    c.type = CellType::Text;
    c.text = std::move(text);
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Table::setTextHeight(int row, int column, double height) {
    if (!inGrid(row, column) || !(height >= 0)) return ErrorStatus::eInvalidInput;
    cellAt(row, column).textHeight = height;
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Table::setAlignment(int row, int column, int alignment) {
    if (!inGrid(row, column) || alignment < 1 || alignment > 9) return ErrorStatus::eInvalidInput;
    cellAt(row, column).alignment = alignment;
    touch();
    return ErrorStatus::eOk;
}

ErrorStatus Table::setBlockTableRecordId(int row, int column, ObjectId block, bool autoFit) {
    if (!inGrid(row, column)) return ErrorStatus::eInvalidInput;
    Cell& c = cellAt(row, column);
    c.type = CellType::Block;
    c.block = block;
    c.autoFit = autoFit;
    c.text.clear();
    touch();
    return ErrorStatus::eOk;
}

namespace {

// A cell's text is formatted text, where a backslash is written doubled; the plain texts of the
// block show it once.
std::string plainText(const std::string& formatted) {
    std::string out;
    for (std::size_t i = 0; i < formatted.size(); ++i) {
        out += formatted[i];
        if (formatted[i] == '\\' && i + 1 < formatted.size() && formatted[i + 1] == '\\') ++i;
    }
    return out;
}

TableStyle::Row styleRow(int row) {
    if (row == 0) return TableStyle::Title;
    if (row == 1) return TableStyle::Header;
    return TableStyle::Data;
}

}  // namespace

double Table::effectiveTextHeight(int row, int column) const {
    const Cell& c = cell(row, column);
    if (c.textHeight > 0) return c.textHeight;
    const Database* db = database();
    if (const auto* style = db ? dynamic_cast<const TableStyle*>(db->objectAt(style_)) : nullptr)
        return style->cellStyle(styleRow(row)).textHeight;
    return TableStyle::CellStyle{}.textHeight;
}

int Table::effectiveAlignment(int row, int column) const {
    const Cell& c = cell(row, column);
    if (c.alignment > 0) return c.alignment;
    const Database* db = database();
    if (const auto* style = db ? dynamic_cast<const TableStyle*>(db->objectAt(style_)) : nullptr)
        return style->cellStyle(styleRow(row)).alignment;
    return TableStyle::CellStyle{}.alignment;
}

ErrorStatus Table::generateLayout() {
    Database* db = database();
    if (db == nullptr) return ErrorStatus::eNotApplicable;
    if (block_.isNull() || !db->isLive(block_)) {
        auto* table = dynamic_cast<SymbolTable*>(db->objectAt(db->blockTableId()));
        if (table == nullptr) return ErrorStatus::eNotApplicable;
        auto record = std::make_unique<BlockTableRecord>("*T");
        record->setBlockFlags(1);
        ObjectId id;
        if (ErrorStatus es = table->add(std::move(record), &id); es != ErrorStatus::eOk) return es;
        assign(block_, id);
    }
    auto* block = dynamic_cast<BlockTableRecord*>(db->objectAt(block_));
    if (block == nullptr) return ErrorStatus::eWrongObjectType;
    for (ObjectId id : block->liveEntityIds()) db->erase(id);

    const ObjectId layer0 = db->recordId(TableKind::Layer, "0");
    const auto* style = dynamic_cast<const TableStyle*>(db->objectAt(style_));
    const double margin = style ? style->horizontalMargin() : 0.0;
    // Left edges of the columns and top edges of the rows, the table's top left corner at the
    // origin of its block: the table shows its block at its position.
    std::vector<double> xs{0.0}, ys{0.0};
    for (double w : columnWidths_) xs.push_back(xs.back() + w);
    for (double h : rowHeights_) ys.push_back(ys.back() - h);

    auto append = [&](std::unique_ptr<Entity> e) {
        e->setLayer(layer0);
        e->setColor(Color::byBlock());
        std::unique_ptr<Entity> owned = std::move(e);
        return block->appendEntityBase(owned);
    };
    auto line = [&](double x0, double y0, double x1, double y1) {
        return append(std::make_unique<Line>(Point3d(x0, y0, 0), Point3d(x1, y1, 0)));
    };
    const int rows = numRows();
    const int columns = numColumns();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const Cell& cell = this->cell(r, c);
            if (cell.covered) continue;
            const double left = xs[static_cast<std::size_t>(c)];
            const double right = xs[static_cast<std::size_t>(c + cell.columnSpan)];
            const double top = ys[static_cast<std::size_t>(r)];
            const double bottom = ys[static_cast<std::size_t>(r + cell.rowSpan)];
            // Each cell draws its top and left edge; the table's right and bottom edges close it.
            if (ErrorStatus es = line(left, top, right, top); es != ErrorStatus::eOk) return es;
            if (ErrorStatus es = line(left, top, left, bottom); es != ErrorStatus::eOk) return es;
            if (c + cell.columnSpan == columns)
                if (ErrorStatus es = line(right, top, right, bottom); es != ErrorStatus::eOk) return es;
            if (r + cell.rowSpan == rows)
                if (ErrorStatus es = line(left, bottom, right, bottom); es != ErrorStatus::eOk) return es;

            const int alignment = effectiveAlignment(r, c);
            const int vertical = (alignment - 1) / 3;    // 0 top, 1 middle, 2 bottom
            const int horizontal = (alignment - 1) % 3;  // 0 left, 1 centre, 2 right
            const double x = horizontal == 0 ? left + margin : horizontal == 1 ? (left + right) / 2 : right - margin;
            const double y = vertical == 0 ? top - margin : vertical == 1 ? (top + bottom) / 2 : bottom + margin;
            if (cell.type == CellType::Text) {
                if (cell.text.empty()) continue;
                auto text = std::make_unique<Text>();
                text->setTextString(plainText(cell.text));
                text->setHeight(effectiveTextHeight(r, c));
                text->setHorizontalMode(static_cast<Text::HorizontalMode>(horizontal));
                text->setVerticalMode(vertical == 0   ? Text::VerticalMode::Top
                                      : vertical == 1 ? Text::VerticalMode::Middle
                                                      : Text::VerticalMode::Bottom);
                const Point3d at = Point3d(x, y, 0);
                text->setPosition(at);
                text->setAlignmentPoint(at);
                if (ErrorStatus es = append(std::move(text)); es != ErrorStatus::eOk) return es;
            } else if (!cell.block.isNull() && db->isLive(cell.block)) {
                // The block's contents centred in the cell (or put to its side by the alignment),
                // scaled down to fit when the cell asks for it.
                const Extents3d box = db->computeExtents(cell.block);
                double scale = 1.0;
                Point3d anchor;
                if (!box.isEmpty()) {
                    const double w = box.maxPoint().x - box.minPoint().x;
                    const double h = box.maxPoint().y - box.minPoint().y;
                    if (cell.autoFit && w > 0 && h > 0)
                        scale = std::min((right - left - 2 * margin) / w, (top - bottom - 2 * margin) / h);
                    const double ax = horizontal == 0 ? box.minPoint().x
                                      : horizontal == 1 ? (box.minPoint().x + box.maxPoint().x) / 2
                                                        : box.maxPoint().x;
                    const double ay = vertical == 0 ? box.maxPoint().y
                                      : vertical == 1 ? (box.minPoint().y + box.maxPoint().y) / 2
                                                      : box.minPoint().y;
                    anchor = Point3d(ax, ay, 0);
                }
                auto reference = std::make_unique<BlockReference>(
                    Point3d(x - anchor.x * scale, y - anchor.y * scale, 0), cell.block);
                reference->setScaleFactors(Vector3d(scale, scale, scale));
                if (ErrorStatus es = append(std::move(reference)); es != ErrorStatus::eOk) return es;
            }
        }
    }
    db->noteChange(*this);
    return ErrorStatus::eOk;
}

ErrorStatus Table::transformBy(const Matrix3d& transform) {
    // A table stays upright and unscaled: only a move keeps it what it is.
    const Vector3d moved = transform * Point3d::origin() - Point3d::origin();
    if (transform.transformVector(Vector3d(1, 0, 0)) != Vector3d(1, 0, 0) ||
        transform.transformVector(Vector3d(0, 1, 0)) != Vector3d(0, 1, 0))
        return ErrorStatus::eNotApplicable;
    assign(position_, position_ + moved);
    return ErrorStatus::eOk;
}

ErrorStatus Table::getGeomExtents(Extents3d& extents) const {
    extents = Extents3d(position_, Point3d(position_.x + width(), position_.y - height(), position_.z));
    return ErrorStatus::eOk;
}

}  // namespace cad
