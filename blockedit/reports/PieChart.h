#pragma once
#include <memory>
#include <optional>
#include <string>

#include "engine/api/Drawing.h"
#include "reports/PieSegments.h"

class CAcadDrawing;
class CGraphicReport;

// The pie chart of a graphic report: a wedge per category sized against the report's total area,
// with a title above and the total below, as a block inserted at the pie marker on a full host.
class CPieChart {
public:
    static constexpr const char* kBlockPrefix = "[KORVA_PIECHART]_";

    CPieChart(CAcadDrawing& drawing, const CGraphicReport& report, double radius, double xyOffset, double textSize,
              int precision, std::string units, bool ignoreEmpty, bool showLabels, bool showLabelSegmentLines,
              double rotation, std::optional<cad::Point3d> insertionPoint);

    const std::string& getBlockName() const { return blockName_; }
    const CPieSegments* getSegments() const { return segments_.get(); }

    void pieChartFromGraphicReport(const CGraphicReport& report);
    // False when there was nothing to draw. Throws CEXSegmentAreaOverTotal when the segments sum
    // to more than the total.
    bool createPieChartBlockDefinition(cad::ObjectId& blockId, CAcadDrawing& drawing);
    void addTitleToPieChart(CAcadDrawing& drawing, cad::BlockTableRecord& block, const cad::Vector3d& normal) const;
    void addFooterToPieChart(CAcadDrawing& drawing, cad::BlockTableRecord& block, const cad::Vector3d& normal) const;

private:
    std::unique_ptr<CPieSegments> segments_;
    std::string blockName_;
    std::string title_;
    double totalArea_ = 0.0;
    double textSize_ = 0.0;
    double radius_ = 0.0;
    double xyOffset_ = 0.0;
    double rotation_ = 0.0;
    int precision_ = 2;
    std::string units_;
    bool ignoreEmpty_ = false;
    bool showLabels_ = false;
    bool showLabelSegmentLines_ = false;
};
