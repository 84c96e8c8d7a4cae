// Loading space blocks from the database: the children of one location for the take-off, and
// the blocks of a report category.
#include "data/BlockIPR.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "data/Hyperlinks.h"
#include "reports/Hatch.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/KorvaAttribute.h"

void CBlocks::getIPRBlocks(CStoredProcedure& procedure, int /*drawingID*/, int parentID, bool loadAssets) {
    procedureWrap(procedure, "Blocks.cpp", "CBlocks::getIPRBlocks", [&] {
        CParameters list;
        params::addInt(list, "@parentID", parentID);
        procedure.setName("__to_getBlocksFromIPR");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        if (!(rows->isBOF() && rows->isEOF())) {
            for (; !rows->isEOF(); rows->moveNext()) {
                const std::string type = rows->getText("type");
                std::unique_ptr<CBlockIPR> block;
                if (type == "r") {
                    block = std::make_unique<CBlockIPRRoom>();
                    if (loadAssets) {
                        auto assets = std::make_unique<CAssets>();
                        assets->getLocationAssets(procedure, rows->getInt("id"), procedure.getCommandTimeout());
                        block->setAssets(std::move(assets));
                    }
                } else if (type == "f") {
                    block = std::make_unique<CBlockIPRFloor>();
                } else if (type == "b") {
                    block = std::make_unique<CBlockIPRBuilding>();
                } else {
                    block = std::make_unique<CBlockIPRSite>();
                }
                block->setLocationID(rows->getInt("id"));
                block->setParentID(rows->getInt("parentid"));
                block->setName(rows->getText("name"));
                block->setCode(rows->getText("code"));
                block->setStatusFromText(rows->getText("status"));
                if (!rows->isNull("area")) block->setArea(rows->getDouble("area"));
                if (!rows->isNull("handle")) block->setHandle(rows->getText("handle"));
                if (!rows->isNull("perimeter")) block->setPerimeter(rows->getDouble("perimeter"));
                addBlock(std::move(block));
            }
        }
        if (rows->isOpen()) rows->close();
    });
}

// The space blocks of a report category, with the texts their attributes are to show.
void CBlocks::getCategoryDWGBlocks(CStoredProcedure& procedure, int timeout, int categoryID, const CHatch* hatch) {
    procedureWrap(procedure, "Blocks.cpp", "CBlocks::getCategoryDWGBlocks", [&] {
        procedure.setCommandTimeout(timeout);
        CParameters list;
        params::addInt(list, "@categoryID", categoryID);
        procedure.setName("__gr_getCategoryBlocks");
        std::unique_ptr<CRecordset> rows = callForRows(procedure, list);
        for (; !rows->isEOF(); rows->moveNext()) {
            auto block = std::make_unique<CBlockDWG>();
            if (!rows->isNull("mbHandle")) block->setHandle(rows->getText("mbHandle"));
            if (!rows->isNull("mbName")) block->setName(rows->getText("mbName"));
            if (!rows->isNull("mbCode")) block->setCode(rows->getText("mbCode"));
            if (!rows->isNull("mbArea")) block->setArea(rows->getDouble("mbArea"));
            auto swap = std::make_unique<CAttributes>();
            const std::pair<const char*, int> texts[] = {
                {"mbSwapName", CKorvaAttribute::kName}, {"mbSwapArea", CKorvaAttribute::kArea},
                {"mbSwapAux", CKorvaAttribute::kAux}};
            for (const auto& [column, kind] : texts)
                if (!rows->isNull(column) && !rows->getText(column).empty())
                    swap->add(std::make_unique<CKorvaAttribute>(kind, rows->getText(column)));
            block->setAttributes(std::move(swap));
            auto hyperlinks = std::make_unique<CHyperlinks>();
            hyperlinks->getBlockHyperlinks(procedure, timeout, categoryID, block->getHandle());
            if (hyperlinks->getCount() > 0) block->setHyperlinks(std::move(hyperlinks));
            if (hatch) block->setHatchSettings(hatch->clone());
            addBlock(std::move(block));
        }
        if (rows->isOpen()) rows->close();
    });
}
