#pragma once
#include "reports/MarkerBlock.h"

// The pie chart marker ("MARKER-PIECHART"): text size, precision and radius of the chart; its
// units stay metric.
class CMarkerBlockPie : public CMarkerBlock {
public:
    static constexpr const char* kBlockName = "MARKER-PIECHART";
    static constexpr const char* kLayer = "KORVA_PIECHART_MARKER";

    CMarkerBlockPie() = default;
    CMarkerBlockPie(const cad::BlockReference& reference, cad::Database& db);

    double getRadius() const { return radius_; }
    void setRadius(double radius) { radius_ = radius; }

private:
    double radius_ = 0.0;
};
