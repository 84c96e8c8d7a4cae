#pragma once
#include "reports/MarkerBlock.h"

// The legend marker ("MARKER-LEGEND"): text size, precision and units of the legend.
class CMarkerBlockLegend : public CMarkerBlock {
public:
    static constexpr const char* kBlockName = "MARKER-LEGEND";
    static constexpr const char* kLayer = "KORVA_LEGEND_MARKER";

    CMarkerBlockLegend() = default;
    CMarkerBlockLegend(const cad::BlockReference& reference, cad::Database& db);
};
