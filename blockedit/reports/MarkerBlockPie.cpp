#include "reports/MarkerBlockPie.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"

CMarkerBlockPie::CMarkerBlockPie(const cad::BlockReference& reference, cad::Database& db)
    : CMarkerBlock(reference, db) {
    korvaWrap("MarkerBlockPie", "CMarkerBlockPie::CMarkerBlockPie", [&] {
        setTextSize(CUtilities::CStringToDouble(attributeValue(reference, db, "PIETEXTSIZE")));
        setPrecision(CUtilities::CStringToInt(attributeValue(reference, db, "PIEPRECISION")));
        radius_ = CUtilities::CStringToDouble(attributeValue(reference, db, "PIERADIUS"));
        setUnits(0);
    });
}
