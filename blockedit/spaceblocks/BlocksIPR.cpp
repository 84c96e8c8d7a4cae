// Loading the database side of the take-off: the children of one location.
#include "data/BlockIPR.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "spaceblocks/Blocks.h"

void CBlocks::getIPRBlocks(CStoredProcedure& procedure, int /*drawingID*/, int parentID, bool loadAssets) {
    procedureWrap(procedure, "Blocks.cpp", "CBlocks::getIPRBlocks", [&] {
        CParameters list;
        params::addInt(list, "@parentID", parentID);
        procedure.setName("__to_getBlocksFromIPR");
        std::unique_ptr<CRecordset> rows;
        {
            CAttachedParameters attached(procedure, list);
            rows = procedure.execSPReturnParas();
        }
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
