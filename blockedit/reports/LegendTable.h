#pragma once
#include <optional>
#include <string>

#include "engine/api/Drawing.h"

class CAcadDrawing;
class CCategory;
class CGraphicReport;

// The legend of a graphic report: a block holding a table with a row per category (its title, a
// swatch of its hatch, the total area of its spaces), inserted at the legend marker on a full host.
class CLegendTable {
public:
    static constexpr const char* kBlockPrefix = "[KORVA_LEGEND]_";
    static constexpr const char* kSwatchPrefix = "[KORVA_LEGEND_HATCH]_";

    CLegendTable() = default;
    // Builds the legend block of the report and, given an insertion point on a full host, a
    // reference to it there. ignoreEmpty leaves out categories whose area is 0.
    CLegendTable(CAcadDrawing& drawing, double textSize, int precision, std::string units, bool ignoreEmpty,
                 const CGraphicReport& report, double rotation, std::optional<cad::Point3d> insertionPoint);

    const std::string& getBlockName() const { return blockName_; }
    double getTextSize() const { return textSize_; }
    double getRotation() const { return rotation_; }
    int getPrecision() const { return precision_; }
    const std::string& getUnits() const { return units_; }

    // The legend's and a swatch's block names: the fifteen characters a name cannot hold become "_".
    static std::string legendBlockName(const std::string& reportTitle);
    static std::string swatchBlockName(const std::string& reportTitle, const std::string& categoryTitle);

    void createLegendBlockDefinition(cad::ObjectId& blockId, CAcadDrawing& drawing, const std::string& blockName,
                                     bool ignoreEmpty, const CGraphicReport& report);
    std::unique_ptr<cad::Table> createLegendTableEntity(const CGraphicReport& report, CAcadDrawing& drawing,
                                                        const cad::Vector3d& normal, bool ignoreEmpty);
    cad::ObjectId createHatchPattern(CAcadDrawing& drawing, const cad::Vector3d& normal,
                                     const std::string& reportTitle, const CCategory& category);
    static void calculateCategoryArea(const CCategory& category, double& area);

private:
    double textSize_ = 500.0;
    double rotation_ = 0.0;
    int precision_ = 2;
    std::string units_ = "units";
    std::string blockName_;
};

// Inserts a reference of the block at the point with the rotation, placed through the user
// coordinate system, into model space; references of it standing there from an earlier build
// are erased first, so a report applied again shows one legend or chart.
void insertReportBlock(cad::Database& db, cad::ObjectId blockId, const cad::Point3d& point, double rotation);
