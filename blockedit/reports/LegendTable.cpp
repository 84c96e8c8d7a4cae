#include "reports/LegendTable.h"

#include "core/EXKinds.h"
#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "host/HostPlatform.h"
#include "reports/Categories.h"
#include "reports/Category.h"
#include "reports/GraphicReport.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"
#include "spaceblocks/Blocks.h"

namespace {

constexpr const char* kFile = "LegendTable";

cad::ObjectId standardTableStyle(cad::Database& db) {
    auto root = db.open<cad::Dictionary>(db.namedObjectsDictionaryId());
    if (!root) return {};
    auto styles = db.open<cad::Dictionary>(root->getAt("ACAD_TABLESTYLE"));
    return styles ? styles->getAt("Standard") : cad::ObjectId();
}

std::string doubledBackslashes(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '\\') out += c;
    }
    return out;
}

}  // namespace

void insertReportBlock(cad::Database& db, cad::ObjectId blockId, const cad::Point3d& point, double rotation) {
    korvaWrap(kFile, "insertReportBlock", [&] {
        auto model = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(model.openStatus(), std::string());
        for (cad::ObjectId id : model->liveEntityIds()) {
            auto old = db.open<cad::BlockReference>(id);
            if (old && old->blockTableRecord() == blockId) {
                old.close();
                db.erase(id);
            }
        }
        auto reference = std::make_unique<cad::BlockReference>(point, blockId);
        reference->setDatabaseDefaults();
        reference->setRotation(rotation);
        reference->transformBy(cad::ucsToWorldMatrix());
        reference->setNormal(CAcadUtilities::userZAxis());
        KORVA_HOST_CHECK(model->appendEntity(std::move(reference)), std::string());
    });
}

CLegendTable::CLegendTable(CAcadDrawing& drawing, double textSize, int precision, std::string units, bool ignoreEmpty,
                           const CGraphicReport& report, double rotation,
                           std::optional<cad::Point3d> insertionPoint)
    : textSize_(textSize), rotation_(rotation), precision_(precision), units_(std::move(units)) {
    korvaWrap(kFile, "CLegendTable::CLegendTable", [&] {
        blockName_ = legendBlockName(report.getTitle());
        cad::ObjectId blockId;
        createLegendBlockDefinition(blockId, drawing, blockName_, ignoreEmpty, report);
        if (insertionPoint && hostPlatform().isFullHost())
            insertReportBlock(drawing.database(), blockId, *insertionPoint, rotation_);
    });
}

std::string CLegendTable::legendBlockName(const std::string& reportTitle) {
    return CUtilities::replaceInvalidCharacters(kBlockPrefix + reportTitle, "_");
}

std::string CLegendTable::swatchBlockName(const std::string& reportTitle, const std::string& categoryTitle) {
    return CUtilities::replaceInvalidCharacters(kSwatchPrefix + reportTitle + "_" + categoryTitle, "_");
}

void CLegendTable::calculateCategoryArea(const CCategory& category, double& area) {
    area = 0.0;
    if (const CBlocks* blocks = category.getBlocks())
        for (std::size_t i = 0; i < blocks->getLength(); ++i) area += blocks->getAt(i).getArea();
}

void CLegendTable::createLegendBlockDefinition(cad::ObjectId& blockId, CAcadDrawing& drawing,
                                               const std::string& blockName, bool ignoreEmpty,
                                               const CGraphicReport& report) {
    korvaWrap(kFile, "CLegendTable::createLegendBlockDefinition", [&] {
        const cad::Vector3d normal = CAcadUtilities::userZAxis();
        cad::Database& db = drawing.database();
        // A legend built again takes the place of the old one inside its definition, so that
        // references to it show the new one.
        blockId = db.recordId(cad::TableKind::Block, blockName);
        if (blockId) {
            auto block = db.open<cad::BlockTableRecord>(blockId, cad::OpenMode::ForWrite);
            KORVA_HOST_CHECK(block.openStatus(), drawing.getFilename());
            for (cad::ObjectId id : block->liveEntityIds()) {
                auto table = db.open<cad::Table>(id);
                const cad::ObjectId shown = table ? table->blockTableRecord() : cad::ObjectId();
                table.close();
                db.erase(id);
                if (shown) db.erase(shown);
            }
        } else {
            auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
            KORVA_HOST_CHECK(table.openStatus(), drawing.getFilename());
            KORVA_HOST_CHECK(table->add(std::make_unique<cad::BlockTableRecord>(blockName), &blockId),
                             drawing.getFilename());
        }
        std::unique_ptr<cad::Table> entity = createLegendTableEntity(report, drawing, normal, ignoreEmpty);
        auto block = db.open<cad::BlockTableRecord>(blockId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(block.openStatus(), drawing.getFilename());
        cad::ObjectId tableId;
        KORVA_HOST_CHECK(block->appendEntity(std::move(entity), &tableId), drawing.getFilename());
        auto table = db.open<cad::Table>(tableId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(table->generateLayout(), drawing.getFilename());
    });
}

std::unique_ptr<cad::Table> CLegendTable::createLegendTableEntity(const CGraphicReport& report, CAcadDrawing& drawing,
                                                                  const cad::Vector3d& normal, bool ignoreEmpty) {
    return korvaWrap(kFile, "CLegendTable::createLegendTableEntity", [&] {
        auto table = std::make_unique<cad::Table>();
        table->setTableStyle(standardTableStyle(drawing.database()));
        table->setNormal(normal);
        table->setSize(2, 3);
        table->mergeCells(0, 0, 0, 2);
        table->setPosition(cad::Point3d::origin());
        table->setTextString(0, 0, report.getTitle());
        const std::string areaHeader = "Area " + units_;
        table->setTextString(1, 0, "Description");
        table->setTextString(1, 1, "Hatch");
        table->setTextString(1, 2, areaHeader);
        std::size_t description = std::string("Description").size() + 1;
        std::size_t hatch = std::string("Hatch").size() + 1;
        std::size_t areaColumn = areaHeader.size() + 1;
        int row = 2;
        if (const CCategories* categories = report.getCategories()) {
            for (std::size_t i = 0; i < categories->getCount(); ++i) {
                const CCategory& category = categories->getAt(i);
                double area = 0.0;
                calculateCategoryArea(category, area);
                const std::string areaText = CUtilities::DoubleToCString(area, precision_);
                if (area == 0.0 && ignoreEmpty) continue;
                table->insertRows(row, textSize_ * 1.5);
                table->setTextString(row, 2, areaText);
                areaColumn = std::max(areaColumn, areaText.size() + 1);
                // A backslash would start a formatting code in the table's text.
                const std::string title = doubledBackslashes(category.getTitle());
                table->setTextString(row, 0, title);
                description = std::max(description, title.size() + 1);
                const cad::ObjectId swatch = createHatchPattern(drawing, normal, report.getTitle(), category);
                if (swatch) table->setBlockTableRecordId(row, 1, swatch, false);
                ++row;
            }
        }
        table->setColumnWidth(0, static_cast<double>(description) * textSize_);
        table->setColumnWidth(1, static_cast<double>(hatch) * textSize_);
        table->setColumnWidth(2, static_cast<double>(areaColumn) * textSize_);
        table->setRowHeight(textSize_ * 1.5);
        for (int r = 0; r < table->numRows(); ++r)
            for (int c = 0; c < table->numColumns(); ++c) {
                table->setTextHeight(r, c, textSize_);
                table->setAlignment(r, c, cad::Table::kMiddleCenter);
            }
        return table;
    });
}

cad::ObjectId CLegendTable::createHatchPattern(CAcadDrawing& drawing, const cad::Vector3d& normal,
                                               const std::string& reportTitle, const CCategory& category) {
    return korvaWrap(kFile, "CLegendTable::createHatchPattern", [&]() -> cad::ObjectId {
        const std::string name = swatchBlockName(reportTitle, category.getTitle());
        const CHatch* hatch = category.getHatch();
        if (hatch == nullptr) return {};
        cad::Database& db = drawing.database();
        const std::string procSig = "CLegendTable::createHatchPattern";
        cad::ObjectId swatchId;
        {
            auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
            KORVA_HOST_CHECK(table.openStatus(), drawing.getFilename());
            if (const cad::ObjectId old = table->getAt(name))
                KORVA_HOST_CHECK(db.erase(old), drawing.getFilename());
            const cad::ErrorStatus added = table->add(std::make_unique<cad::BlockTableRecord>(name), &swatchId);
            if (added == cad::ErrorStatus::eInvalidSymbolTableName)
                throw CEXCustom("Invalid Block Name - '" + name + "' - from Graphic Report and Category Names",
                                kModuleDescription, kFile, procSig);
            KORVA_HOST_CHECK(added, drawing.getFilename());
        }
        std::string layer = hatch->validLayer();
        CLayers::ensureLayerExists(drawing, layer, hatch->getColour());
        const cad::ObjectId layerId = db.recordId(cad::TableKind::Layer, layer);
        auto swatch = db.open<cad::BlockTableRecord>(swatchId, cad::OpenMode::ForWrite);
        const double s = textSize_;
        auto boundary = std::make_unique<cad::Polyline>();
        for (auto [x, y] : {std::pair{0.0, 0.0}, {0.0, 2 * s}, {3 * s, 2 * s}, {3 * s, 0.0}, {0.0, 0.0}})
            boundary->addVertexAt(boundary->numVerts(), cad::Point2d(x, y));
        boundary->setClosed(true);
        boundary->setColor(hatch->getColour());
        boundary->setLayer(layerId);
        cad::ObjectId boundaryId;
        KORVA_HOST_CHECK(swatch->appendEntity(std::move(boundary), &boundaryId), drawing.getFilename());

        std::unique_ptr<cad::Hatch> fill = hatch->createHatchEntity(db);
        fill->setNormal(normal);
        cad::ObjectId fillId;
        KORVA_HOST_CHECK(swatch->appendEntity(std::move(fill), &fillId), drawing.getFilename());
        auto filled = db.open<cad::Hatch>(fillId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(filled->appendLoop(cad::HatchLoop::kOutermost, std::vector<cad::ObjectId>{boundaryId}),
                         drawing.getFilename());
        const cad::ErrorStatus evaluation = CHatch::evaluateHatch(*filled);
        if (evaluation == cad::ErrorStatus::eOk) return swatchId;
        if (evaluation != cad::ErrorStatus::eHatchTooDense && evaluation != cad::ErrorStatus::eHatchTooSparse)
            KORVA_HOST_CHECK(evaluation, drawing.getFilename());
        // A pattern the swatch cannot show is named by a marker text in its place.
        filled.close();
        db.erase(fillId);
        const std::string mark = evaluation == cad::ErrorStatus::eHatchTooDense ? "<!" : ">!";
        auto definition = std::make_unique<cad::AttributeDefinition>();
        definition->setPosition(cad::Point3d::origin());
        definition->setHeight(s);
        definition->setNormal(normal);
        definition->setTag(mark);
        definition->setPrompt(mark);
        definition->setTextString(mark);
        definition->setConstant(true);
        definition->setFieldLength(25);
        KORVA_HOST_CHECK(swatch->appendEntity(std::move(definition)), drawing.getFilename());
        return swatchId;
    });
}
