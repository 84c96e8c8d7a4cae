#include "reports/MarkerBlockLegend.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"

CMarkerBlockLegend::CMarkerBlockLegend(const cad::BlockReference& reference, cad::Database& db)
    : CMarkerBlock(reference, db) {
    korvaWrap("MarkerBlockLegend", "CMarkerBlockLegend::CMarkerBlockLegend", [&] {
        setTextSize(CUtilities::CStringToDouble(attributeValue(reference, db, "LEGENDTEXTSIZE")));
        setPrecision(CUtilities::CStringToInt(attributeValue(reference, db, "LEGENDPRECISION")));
        setUnits(CUtilities::CStringToInt(attributeValue(reference, db, "LEGENDUNITS")));
    });
}
