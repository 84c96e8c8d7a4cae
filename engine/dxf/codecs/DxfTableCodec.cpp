// ACAD_TABLE, made here only (a file's own tables are read as unknown entities and kept whole).
// Written as programs of the file's version write it: the block reference part naming the
// anonymous block that shows the table, then rows, columns and one group of codes per cell, row
// by row. From R2007 a text cell holds its text in a value group (301 CELL_VALUE ... 304
// ACVALUE_END) and its override flag in 91; before, the text stands in group 1 and the flag in 177.
#include "engine/db/Database.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/Table.h"
#include "engine/dxf/codecs/DxfCodecs.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/text/CaretNotation.h"

namespace cad {

namespace {

// Cell override flags: the alignment and the text height are the cell's own.
constexpr int kAlignmentOverride = 0x01;
constexpr int kTextHeightOverride = 0x20;
constexpr std::size_t kChunk = 250;

// Long texts go in pieces of up to 250 bytes, the last (shorter) one under the closing code.
void chunked(DxfTagWriter& w, int pieceCode, int lastCode, const std::string& text) {
    std::size_t at = 0;
    while (text.size() - at >= kChunk) {
        const std::size_t n = firstPieceLength(std::string_view(text).substr(at), kChunk);
        w.string(pieceCode, text.substr(at, n));
        at += n;
    }
    w.string(lastCode, text.substr(at));
}

}  // namespace

void writeTable(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    const auto& t = static_cast<const Table&>(o);
    const Database& db = out.database();
    DxfTagWriter& w = out.tags();
    const bool valueGroups = out.version() >= kDxfR2007;
    w.string(100, "AcDbBlockReference");
    const auto* block = dynamic_cast<const SymbolTableRecord*>(db.objectAt(t.blockTableRecord()));
    w.string(2, block ? out.text(block->name()) : std::string());
    out.point(10, t.position());
    if (t.normal() != Vector3d::zAxis()) out.point(210, t.normal());
    w.string(100, "AcDbTable");
    out.handleTag(342, t.tableStyle());
    out.handleTag(343, t.blockTableRecord());
    out.point(11, t.direction());
    w.integer(90, 22);
    w.integer(91, t.numRows());
    w.integer(92, t.numColumns());
    for (int code = 93; code <= 96; ++code) w.integer(code, 0);
    for (int r = 0; r < t.numRows(); ++r) w.real(141, t.rowHeight(r));
    for (int c = 0; c < t.numColumns(); ++c) w.real(142, t.columnWidth(c));
    for (int r = 0; r < t.numRows(); ++r) {
        for (int c = 0; c < t.numColumns(); ++c) {
            const Table::Cell& cell = t.cell(r, c);
            const int overrides = (cell.alignment > 0 ? kAlignmentOverride : 0) |
                                  (cell.textHeight > 0 ? kTextHeightOverride : 0);
            w.integer(171, static_cast<int>(cell.type));
            w.integer(172, 0);
            w.integer(173, cell.covered ? 1 : 0);
            w.integer(174, cell.type == Table::CellType::Block && cell.autoFit ? 1 : 0);
            w.integer(175, cell.columnSpan);
            w.integer(176, cell.rowSpan);
            w.integer(valueGroups ? 91 : 177, overrides);
            w.integer(178, 0);
            w.real(145, 0.0);
            if (cell.type == Table::CellType::Block) {
                out.handleTag(340, cell.block);
                w.real(144, 1.0);
                w.integer(179, 0);
            } else if (valueGroups) {
                const std::string text = out.textValue(cell.text);
                w.integer(92, 0);
                w.string(301, "CELL_VALUE");
                w.integer(93, text.empty() ? 3 : 2);
                w.integer(90, text.empty() ? 0 : 4);
                if (!text.empty()) chunked(w, 2, 1, text);
                w.integer(94, 0);
                w.string(300, "");
                chunked(w, 303, 302, text);
                w.string(304, "ACVALUE_END");
            } else {
                chunked(w, 2, 1, out.textValue(cell.text));
            }
            if (cell.textHeight > 0) w.real(140, cell.textHeight);
            if (cell.alignment > 0) w.integer(170, cell.alignment);
        }
    }
    out.extrasOf(extras, "AcDbBlockReference");
    out.extrasOf(extras, "AcDbTable");
}

}  // namespace cad
