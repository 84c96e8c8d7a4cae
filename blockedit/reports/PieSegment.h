#pragma once
#include <string>

#include "engine/api/Drawing.h"

class CAcadDrawing;
class CHatch;
class CKorvaExceptions;

// One wedge of a pie chart: a category's share of the report's total area.
class CPieSegment {
public:
    CPieSegment(std::string label, const CHatch* hatch, double area, int precision, std::string units)
        : label_(std::move(label)), hatch_(hatch), area_(area), precision_(precision), units_(std::move(units)) {}

    const std::string& getLabel() const { return label_; }
    const CHatch* getHatch() const { return hatch_; }
    double getArea() const { return area_; }

    // Angles are clockwise from the block's y axis; the point at angle a and distance d is
    // (d sin a, d cos a).
    struct Geometry {
        double radius;
        double totalArea;
        double xyOffset;
        double textSize;
        cad::Vector3d normal;
        bool showLabels;
        bool showLabelSegmentLines;
    };
    // The wedge (hatched, pulled out, labelled) starting after `cumulative` of the total area.
    void addSegmentToBlock(CAcadDrawing& drawing, cad::BlockTableRecord& block, double cumulative, const Geometry& g);
    // A closed wedge polyline of the sweep from the y axis clockwise; a whole circle for a sweep of
    // exactly 2 pi.
    std::unique_ptr<cad::Polyline> createSegment(const cad::Vector3d& normal, double radius, double sweep) const;
    void hatchSegment(CAcadDrawing& drawing, cad::BlockTableRecord& block, cad::ObjectId wedgeId,
                      const cad::Vector3d& normal, CKorvaExceptions& errors) const;
    void addSegmentLine(CAcadDrawing& drawing, cad::BlockTableRecord& block, double mid, double labelRadius,
                        double xyOffset) const;
    void addSegmentLabel(CAcadDrawing& drawing, cad::BlockTableRecord& block, double mid, double labelRadius,
                         const Geometry& g) const;
    // The label's text: "LABEL (AREA UNITS)".
    std::string labelText() const;

private:
    cad::ObjectId hatchLayer(CAcadDrawing& drawing) const;

    std::string label_;
    const CHatch* hatch_;
    double area_;
    int precision_;
    std::string units_;
};

// An attribute tag cannot hold blanks: the chart's texts name their definitions with "_" instead.
std::string tagOf(const std::string& text);
