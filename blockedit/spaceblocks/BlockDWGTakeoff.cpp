// The export ("TP") side of the take-off: a drawing-side space block sends its record.
#include "data/Assets.h"
#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"
#include "spaceblocks/BlockDWG.h"

namespace {
// Rows 4 to 18 of the export: everything after the name and code.
void addMeasures(CParameters& list, const CBlockDWG& block, const std::string& exportParameters) {
    params::addDecimal(list, "@area", block.getArea());
    params::addVarChar(list, "@areaType", block.getAreaType());
    params::addVarChar(list, "@costCentre", block.getCostCentre());
    params::addVarChar(list, "@date", block.getDate());
    params::addVarChar(list, "@dateLastMove", block.getDateLastMove());
    params::addVarChar(list, "@deptCharge", block.getDeptCharge());
    params::addVarChar(list, "@handle", block.getHandle());
    params::addDecimal(list, "@perimeter", block.getPerimeter());
    params::addDecimal(list, "@roomHeight", block.getRoomHeight());
    params::addVarChar(list, "@specialReq", block.getSpecialReq());
    params::addVarChar(list, "@tagType", block.getTagType());
    params::addVarChar(list, "@totStaff", block.getTotStaff());
    params::addVarChar(list, "@totWkStns", block.getTotWkStns());
    params::addDecimal(list, "@volume", block.getVolume());
    params::addVarChar(list, "@exportParameters", exportParameters);
}

void exportSpace(const CBlockDWG& block, CStoredProcedure& procedure, int parentID,
                 const std::string& exportParameters) {
    CParameters list;
    params::addInt(list, "@parentID", parentID);
    params::addVarChar(list, "@name", block.getName());
    params::addVarChar(list, "@code", block.getCode());
    addMeasures(list, block, exportParameters);
    procedure.setName("__to_exportSpaceBlockToTP");
    CAttachedParameters attached(procedure, list);
    procedure.execSPNoReturnParas();
}

void exportGrossArea(const CBlockDWG& block, CStoredProcedure& procedure, int locationID,
                     const std::string& exportParameters) {
    CParameters list;
    params::addInt(list, "@locationID", locationID);
    addMeasures(list, block, exportParameters);
    procedure.setName("__to_exportGrossAreaBlocktoTP");
    CAttachedParameters attached(procedure, list);
    procedure.execSPNoReturnParas();
}
}  // namespace

void CBlockDWGRoom::exportTP(CStoredProcedure& procedure, int timeout, int parentID,
                             const std::string& exportParameters) {
    procedureWrap(procedure, "BlockDWGRoom.cpp", "CBlockDWGRoom::exportTP", [&] {
        procedure.setCommandTimeout(timeout);
        exportSpace(*this, procedure, parentID, exportParameters);
        if (getAssets()) getAssets()->exportTP(procedure, timeout, exportParameters);
    });
}

void CBlockDWGBuilding::exportTP(CStoredProcedure& procedure, int, int parentID, const std::string& exportParameters) {
    procedureWrap(procedure, "BlockDWGBuilding.cpp", "CBlockDWGBuilding::exportTP",
                  [&] { exportSpace(*this, procedure, parentID, exportParameters); });
}

void CBlockDWGFloor::exportTP(CStoredProcedure& procedure, int, int locationID, const std::string& exportParameters) {
    procedureWrap(procedure, "BlockDWGFloor.cpp", "CBlockDWGFloor::exportTP",
                  [&] { exportGrossArea(*this, procedure, locationID, exportParameters); });
}

void CBlockDWGSite::exportTP(CStoredProcedure& procedure, int timeout, int locationID,
                             const std::string& exportParameters) {
    procedureWrap(procedure, "BlockDWGSite.cpp", "CBlockDWGSite::exportTP", [&] {
        procedure.setCommandTimeout(timeout);
        exportGrossArea(*this, procedure, locationID, exportParameters);
    });
}
