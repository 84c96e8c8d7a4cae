#include "reports/PieSegment.h"

#include <cmath>
#include <numbers>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/HostError.h"
#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "reports/Hatch.h"
#include "reports/Layers.h"

namespace {

constexpr const char* kFile = "PieSegment";

}  // namespace

std::string tagOf(const std::string& text) {
    std::string tag = text;
    for (char& c : tag)
        if (c == ' ' || c == '\t') c = '_';
    return tag.empty() ? std::string("_") : tag;
}

std::string CPieSegment::labelText() const {
    return label_ + " (" + CUtilities::DoubleToCString(area_, precision_) + " " + units_ + ")";
}

cad::ObjectId CPieSegment::hatchLayer(CAcadDrawing& drawing) const {
    std::string layer = hatch_ ? hatch_->validLayer() : std::string("0");
    if (hatch_) CLayers::ensureLayerExists(drawing, layer, hatch_->getColour());
    return drawing.database().recordId(cad::TableKind::Layer, layer);
}

std::unique_ptr<cad::Polyline> CPieSegment::createSegment(const cad::Vector3d& normal, double radius,
                                                          double sweep) const {
    auto wedge = std::make_unique<cad::Polyline>();
    wedge->setNormal(normal);
    if (hatch_) wedge->setColor(hatch_->getColour());
    if (sweep == 2 * std::numbers::pi) {
        // The whole total: a circle of two clockwise half circles.
        wedge->addVertexAt(0, cad::Point2d(0, radius), -1.0);
        wedge->addVertexAt(1, cad::Point2d(0, -radius), -1.0);
        wedge->addVertexAt(2, cad::Point2d(0, radius), 0.0);
    } else {
        wedge->addVertexAt(0, cad::Point2d(0, 0), 0.0);
        wedge->addVertexAt(1, cad::Point2d(0, radius), -std::tan(sweep / 4));
        wedge->addVertexAt(2, cad::Point2d(radius * std::sin(sweep), radius * std::cos(sweep)), 0.0);
        wedge->addVertexAt(3, cad::Point2d(0, 0), 0.0);
    }
    wedge->setClosed(true);
    return wedge;
}

void CPieSegment::addSegmentToBlock(CAcadDrawing& drawing, cad::BlockTableRecord& block, double cumulative,
                                    const Geometry& g) {
    korvaWrap(kFile, "CPieSegment::addSegmentToBlock", [&] {
        const double sweep = area_ / g.totalArea * 360.0 / 180.0 * std::numbers::pi;
        const double start = cumulative / g.totalArea * 360.0 / 180.0 * std::numbers::pi;
        std::unique_ptr<cad::Polyline> wedge = createSegment(g.normal, g.radius, sweep);
        wedge->transformBy(cad::Matrix3d::rotation(-start, g.normal, cad::Point3d::origin()));
        const double mid = start + sweep * 0.5;
        wedge->transformBy(
            cad::Matrix3d::translation(cad::Vector3d(g.xyOffset * std::sin(mid), g.xyOffset * std::cos(mid), 0)));
        wedge->setLayer(hatchLayer(drawing));
        cad::ObjectId wedgeId;
        KORVA_HOST_CHECK(block.appendEntity(std::move(wedge), &wedgeId), drawing.getFilename());
        CKorvaExceptions errors;
        hatchSegment(drawing, block, wedgeId, g.normal, errors);
        if (errors.getCount() > 0) errors.printAll();
        if (g.showLabels) {
            const double labelRadius = g.radius * 1.25;
            if (g.showLabelSegmentLines) addSegmentLine(drawing, block, mid, labelRadius, g.xyOffset);
            addSegmentLabel(drawing, block, mid, labelRadius, g);
        }
    });
}

void CPieSegment::hatchSegment(CAcadDrawing& drawing, cad::BlockTableRecord& block, cad::ObjectId wedgeId,
                               const cad::Vector3d& normal, CKorvaExceptions& errors) const {
    korvaWrap(kFile, "CPieSegment::hatchSegment", [&] {
        if (hatch_ == nullptr) return;
        const char* const procSig = "CPieSegment::hatchSegment";
        cad::Database& db = drawing.database();
        std::unique_ptr<cad::Hatch> fill = hatch_->createHatchEntity(db);
        fill->setNormal(normal);
        cad::ObjectId fillId;
        KORVA_HOST_CHECK(block.appendEntity(std::move(fill), &fillId), drawing.getFilename());
        auto hatch = db.open<cad::Hatch>(fillId, cad::OpenMode::ForWrite);
        if (hatch->appendLoop(cad::HatchLoop::kOutermost, std::vector<cad::ObjectId>{wedgeId}) !=
            cad::ErrorStatus::eOk) {
            hatch.close();
            db.erase(fillId);
            errors.add(CEXHatchBlock("Segment", label_, kModuleDescription, kFile, procSig));
            return;
        }
        const cad::ErrorStatus evaluation = CHatch::evaluateHatch(*hatch);
        if (!hatch_->collectDensityError(evaluation, "piechart segment " + label_, errors, kFile, procSig) &&
            evaluation != cad::ErrorStatus::eOk)
            errors.add(CEXUnhandled(evaluation, kModuleDescription, kFile, procSig, __LINE__, drawing.getFilename()));
        CAcadUtilities::moveEntityToBottom(*hatch);
    });
}

void CPieSegment::addSegmentLine(CAcadDrawing& drawing, cad::BlockTableRecord& block, double mid, double labelRadius,
                                 double xyOffset) const {
    korvaWrap(kFile, "CPieSegment::addSegmentLine", [&] {
        const double e = labelRadius * 0.95 + xyOffset;
        auto line = std::make_unique<cad::Line>(cad::Point3d(xyOffset * std::sin(mid), xyOffset * std::cos(mid), 0),
                                                cad::Point3d(e * std::sin(mid), e * std::cos(mid), 0));
        if (hatch_) line->setColor(hatch_->getColour());
        line->setLayer(hatchLayer(drawing));
        KORVA_HOST_CHECK(block.appendEntity(std::move(line)), drawing.getFilename());
    });
}

void CPieSegment::addSegmentLabel(CAcadDrawing& drawing, cad::BlockTableRecord& block, double mid,
                                  double labelRadius, const Geometry& g) const {
    korvaWrap(kFile, "CPieSegment::addSegmentLabel", [&] {
        const double d = labelRadius + g.xyOffset;
        const cad::Point3d p(d * std::sin(mid), d * std::cos(mid), 0);
        auto label = std::make_unique<cad::AttributeDefinition>();
        label->setColor(cad::Color::byLayer());
        label->setHeight(g.textSize);
        label->setNormal(g.normal);
        label->setHorizontalMode(p.x > 0   ? cad::Text::HorizontalMode::Left
                                 : p.x == 0 ? cad::Text::HorizontalMode::Center
                                            : cad::Text::HorizontalMode::Right);
        const double half = g.radius * 0.5;
        label->setVerticalMode(p.y > half    ? cad::Text::VerticalMode::Bottom
                               : p.y == half ? cad::Text::VerticalMode::Middle
                                             : cad::Text::VerticalMode::Top);
        label->setPosition(p);
        label->setAlignmentPoint(p);
        const std::string text = labelText();
        label->setTextString(text);
        label->setTag(tagOf(text));
        label->setPrompt(text);
        label->setConstant(true);
        label->setFieldLength(25);
        label->setLayer(hatchLayer(drawing));
        KORVA_HOST_CHECK(block.appendEntity(std::move(label)), drawing.getFilename());
    });
}
