// Loading a report's categories from the property database.
#include "core/Utilities.h"
#include "data/Assets.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "reports/Categories.h"
#include "spaceblocks/Blocks.h"

void CCategories::getReportCategories(CStoredProcedure& procedure, int graphicReportID, int timeout) {
    procedureWrap(procedure, "Categories.cpp", "CCategories::getReportCategories", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@graphicReportID", graphicReportID);
        procedure.setName("__gr_getReportCategories");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        // The blocks and assets are read after the categories: the procedure object runs one
        // call at a time.
        std::vector<std::unique_ptr<CCategory>> read;
        for (; !rows->isEOF(); rows->moveNext()) {
            auto category = std::make_unique<CCategory>();
            if (!rows->isNull("cID")) category->setID(rows->getInt("cID"));
            if (!rows->isNull("cTitle")) category->setTitle(rows->getText("cTitle"));
            if (!rows->isNull("cHatchPattern") && !rows->getText("cHatchPattern").empty()) {
                auto hatch = std::make_unique<CHatch>(rows->getText("cHatchPattern"));
                if (!rows->isNull("cHatchAngle"))
                    hatch->setAngle(static_cast<short>(rows->getInt("cHatchAngle")));
                if (!rows->isNull("cHatchColour")) {
                    cad::Color colour = hatch->getColour();
                    CUtilities::hashColourToAcad(rows->getText("cHatchColour"), colour);
                    hatch->setColour(colour);
                }
                if (!rows->isNull("cHatchScale"))
                    hatch->setScale(static_cast<short>(rows->getInt("cHatchScale")));
                hatch->setLayer(rows->isNull("cHatchLayer") ? CHatch::kDefaultLayer
                                                            : rows->getText("cHatchLayer"));
                category->setHatch(std::move(hatch));
            }
            read.push_back(std::move(category));
        }
        if (rows->isOpen()) rows->close();
        for (auto& category : read) {
            auto blocks = std::make_unique<CBlocks>();
            blocks->getCategoryDWGBlocks(procedure, timeout, category->getID(), category->getHatch());
            if (blocks->getLength() > 0) category->setBlocks(std::move(blocks));
            auto assets = std::make_unique<CAssets>();
            assets->getCategoryAssets(procedure, timeout, category->getID(), category->getHatch());
            if (assets->getCount() > 0) category->setAssets(std::move(assets));
            add(std::move(category));
        }
    });
}
