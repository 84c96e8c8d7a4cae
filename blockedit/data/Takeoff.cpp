#include "data/Takeoff.h"

#include <map>
#include <set>

#include "data/BlockIPR.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "engine/api/Documents.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

CTakeoff::CTakeoff(CStoredProcedure& procedure, int timeout, Progress progress)
    : procedure_(procedure), timeout_(timeout), progress_(std::move(progress)) {}

CTakeoff::Result CTakeoff::run(cad::Document& drawing, const std::string& fileName) {
    return procedureWrap(procedure_, __FILE__, "CTakeoff::run", [&] {
        Result result;
        CDataTransaction transaction(procedure_);

        {
            CParameters list;
            params::addVarChar(list, "@fileName", fileName);
            params::addInt(list, "@drawingID", 0, CParameter::kInputOutput);
            params::addInt(list, "@locationID", 0, CParameter::kInputOutput);
            procedure_.setCommandTimeout(timeout_);
            procedure_.setName("__to_getDrawingLocation");
            CAttachedParameters attached(procedure_, list);
            procedure_.execSPNoReturnParasReturn();
            result.drawingID = static_cast<CParameterInt&>(*list.getParameter("@drawingID")).getInt();
            result.floorID = static_cast<CParameterInt&>(*list.getParameter("@locationID")).getInt();
        }
        const std::string exportParameters = "drawing=" + fileName;

        CBlocks drawingBlocks;
        drawingBlocks.getKorvaDWGBlocks_SS(drawing, true, CBlocks::kLevelFloor);
        if (progress_) progress_(fileName + ": " + std::to_string(drawingBlocks.getCount()) + " space blocks");

        // The rooms the database already holds under the floor, by handle.
        CBlocks registered;
        registered.getIPRBlocks(procedure_, result.drawingID, result.floorID, false);
        std::map<std::string, int> locationByHandle;
        for (std::size_t i = 0; i < registered.getLength(); ++i)
            if (auto* room = dynamic_cast<CBlockIPRRoom*>(&registered.getAt(i)))
                locationByHandle.emplace(room->getHandle(), room->getLocationID());

        std::set<std::string> codesSeen;
        std::set<std::string> handlesInDrawing;
        for (std::size_t i = 0; i < drawingBlocks.getLength(); ++i) {
            CBlock& block = drawingBlocks.getAt(i);
            if (auto* room = dynamic_cast<CBlockDWGRoom*>(&block)) {
                CBlockIPRRoom record;
                room->copyBlockFieldsTo(record);
                record.setHandle(room->getHandle());
                record.setBlockType(CBlock::kBlockIPRRoom);
                auto found = locationByHandle.find(room->getHandle());
                record.setLocationID(found == locationByHandle.end() ? 0 : found->second);
                record.setParentID(result.floorID);
                record.setStatusExists(1);
                record.setStatusDuplicate(!room->getCode().empty() && !codesSeen.insert(room->getCode()).second);
                if (room->getAssets()) {
                    auto assets = std::make_unique<CAssets>();
                    room->getAssets()->copyTo(*assets);
                    result.assets += static_cast<int>(assets->getCount());
                    record.setAssets(std::move(assets));
                }
                record.applyToIPR(procedure_, result.drawingID, timeout_);
                // The export side files the room's assets under the location the register gave it.
                if (room->getAssets())
                    for (std::size_t a = 0; a < room->getAssets()->getCount(); ++a) {
                        room->getAssets()->getAt(a).setDrawingID(result.drawingID);
                        room->getAssets()->getAt(a).setLocationID(record.getLocationID());
                    }
                room->exportTP(procedure_, timeout_, result.floorID, exportParameters);
                handlesInDrawing.insert(room->getHandle());
                ++result.rooms;
            } else if (auto* floor = dynamic_cast<CBlockDWGFloor*>(&block)) {
                CBlockIPRFloor record;
                floor->copyBlockFieldsTo(record);
                record.setHandle(floor->getHandle());
                record.setBlockType(CBlock::kBlockIPRFloor);
                record.setLocationID(result.floorID);
                record.applyToIPR(procedure_, result.drawingID, timeout_);
                floor->exportTP(procedure_, timeout_, result.floorID, exportParameters);
            }
        }

        // Rooms registered earlier whose block has left the drawing stay, marked as not existing.
        for (std::size_t i = 0; i < registered.getLength(); ++i) {
            auto* room = dynamic_cast<CBlockIPRRoom*>(&registered.getAt(i));
            if (!room || handlesInDrawing.count(room->getHandle())) continue;
            room->setStatusExists(0);
            room->applyToIPR(procedure_, result.drawingID, timeout_);
            ++result.missingRooms;
        }

        transaction.commit();
        if (progress_)
            progress_(fileName + ": " + std::to_string(result.rooms) + " rooms and " + std::to_string(result.assets) +
                      " assets registered on floor " + std::to_string(result.floorID));
        return result;
    });
}
