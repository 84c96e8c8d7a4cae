#include "reports/PieChart.h"

#include <cmath>

#include "core/EXKinds.h"
#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "host/HostPlatform.h"
#include "reports/Categories.h"
#include "reports/Category.h"
#include "reports/DrawingLockScope.h"
#include "reports/GraphicReport.h"
#include "reports/LegendTable.h"

namespace {

constexpr const char* kFile = "PieChart";

}  // namespace

CPieChart::CPieChart(CAcadDrawing& drawing, const CGraphicReport& report, double radius, double xyOffset,
                     double textSize, int precision, std::string units, bool ignoreEmpty, bool showLabels,
                     bool showLabelSegmentLines, double rotation, std::optional<cad::Point3d> insertionPoint)
    : rotation_(rotation) {
    korvaWrap(kFile, "CPieChart::CPieChart", [&] {
        const CCategories* categories = report.getCategories();
        if (categories == nullptr || categories->getCount() == 0 || !(report.getTotalChildAreas() > 0)) return;
        blockName_ = CUtilities::replaceInvalidCharacters(kBlockPrefix + report.getTitle(), "_");
        title_ = report.getTitle();
        totalArea_ = report.getTotalChildAreas();
        radius_ = radius;
        xyOffset_ = xyOffset;
        textSize_ = textSize;
        precision_ = precision;
        units_ = std::move(units);
        ignoreEmpty_ = ignoreEmpty;
        showLabels_ = showLabels;
        showLabelSegmentLines_ = showLabelSegmentLines;
        segments_ = std::make_unique<CPieSegments>();
        pieChartFromGraphicReport(report);
        cad::ObjectId blockId;
        if (!createPieChartBlockDefinition(blockId, drawing)) return;
        if (insertionPoint && hostPlatform().isFullHost())
            insertReportBlock(drawing.database(), blockId, *insertionPoint, rotation_);
    });
}

void CPieChart::pieChartFromGraphicReport(const CGraphicReport& report) {
    korvaWrap(kFile, "CPieChart::pieChartFromGraphicReport", [&] {
        const CCategories* categories = report.getCategories();
        if (categories == nullptr) return;
        for (std::size_t i = 0; i < categories->getCount(); ++i) {
            const CCategory& category = categories->getAt(i);
            double area = 0.0;
            CLegendTable::calculateCategoryArea(category, area);
            if (area == 0.0 && ignoreEmpty_) continue;
            segments_->add(std::make_unique<CPieSegment>(category.getTitle(), category.getHatch(), area, precision_,
                                                         units_));
        }
    });
}

bool CPieChart::createPieChartBlockDefinition(cad::ObjectId& blockId, CAcadDrawing& drawing) {
    return korvaWrapPassing<CEXSegmentAreaOverTotal>(kFile, "CPieChart::createPieChartBlockDefinition", [&] {
        if (!segments_ || segments_->getCount() == 0) return false;
        if (std::floor(segments_->getTotal()) > std::floor(totalArea_))
            throw CEXSegmentAreaOverTotal(segments_->getTotal(), totalArea_, kModuleDescription, kFile,
                                          "CPieChart::createPieChartBlockDefinition");
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return false;
        cad::Database& db = drawing.database();
        {
            auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
            KORVA_HOST_CHECK(table.openStatus(), drawing.getFilename());
            if (const cad::ObjectId old = table->getAt(blockName_)) {
                // References of the old chart go with it; the new one is inserted afresh.
                auto model = db.open<cad::BlockTableRecord>(db.modelSpaceId());
                for (cad::ObjectId id : model->liveEntityIds()) {
                    auto reference = db.open<cad::BlockReference>(id);
                    if (reference && reference->blockTableRecord() == old) {
                        reference.close();
                        db.erase(id);
                    }
                }
                KORVA_HOST_CHECK(db.erase(old), drawing.getFilename());
            }
            KORVA_HOST_CHECK(table->add(std::make_unique<cad::BlockTableRecord>(blockName_), &blockId),
                             drawing.getFilename());
        }
        const cad::Vector3d normal = CAcadUtilities::userZAxis();
        auto block = db.open<cad::BlockTableRecord>(blockId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(block.openStatus(), drawing.getFilename());
        segments_->addSegmentsToBlock(
            drawing, *block, ignoreEmpty_,
            {radius_, totalArea_, xyOffset_, textSize_, normal, showLabels_, showLabelSegmentLines_});
        addTitleToPieChart(drawing, *block, normal);
        addFooterToPieChart(drawing, *block, normal);
        return true;
    });
}

namespace {

void addCentredText(cad::BlockTableRecord& block, const cad::Point3d& at, double height, const cad::Vector3d& normal,
                    const std::string& text, const std::string& tag, const std::string& fileName) {
    auto definition = std::make_unique<cad::AttributeDefinition>();
    definition->setColor(cad::Color::byLayer());
    definition->setHeight(height);
    definition->setNormal(normal);
    definition->setHorizontalMode(cad::Text::HorizontalMode::Center);
    definition->setVerticalMode(cad::Text::VerticalMode::Top);
    definition->setPosition(at);
    definition->setAlignmentPoint(at);
    definition->setTextString(text);
    definition->setTag(tagOf(tag));
    definition->setConstant(true);
    definition->setFieldLength(25);
    KORVA_HOST_CHECK(block.appendEntity(std::move(definition)), fileName);
}

}  // namespace

void CPieChart::addTitleToPieChart(CAcadDrawing& drawing, cad::BlockTableRecord& block,
                                   const cad::Vector3d& normal) const {
    korvaWrap(kFile, "CPieChart::addTitleToPieChart", [&] {
        addCentredText(block, cad::Point3d(0, radius_ * 1.5 + textSize_, 0), textSize_, normal, title_, title_,
                       drawing.getFilename());
    });
}

void CPieChart::addFooterToPieChart(CAcadDrawing& drawing, cad::BlockTableRecord& block,
                                    const cad::Vector3d& normal) const {
    korvaWrap(kFile, "CPieChart::addFooterToPieChart", [&] {
        addCentredText(block, cad::Point3d(0, textSize_ - radius_ * 1.5, 0), textSize_, normal,
                       "Total: " + CUtilities::DoubleToCString(totalArea_, precision_) + units_, title_,
                       drawing.getFilename());
    });
}
