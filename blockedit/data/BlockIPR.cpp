#include "data/BlockIPR.h"

#include "data/ParameterKinds.h"
#include "data/StoredProcedure.h"

namespace {
// Room and building: the ten parameters of "__to_set...BlockInIPR"; returns the location id as read
// back from the collection after the call.
int setSpaceInIPR(CBlockIPR& block, CStoredProcedure& procedure, const char* name, int locationDirection,
                  int timeout) {
    CParameters list;
    params::addInt(list, "@locationID", block.getLocationID(), locationDirection);
    params::addInt(list, "@parentID", block.getParentID());
    params::addVarChar(list, "@name", block.getName());
    params::addVarChar(list, "@code", block.getCode());
    params::addBoolean(list, "@statusExists", block.getStatusExists());
    params::addBoolean(list, "@statusDuplicate", block.getStatusDuplicate());
    params::addDecimal(list, "@area", block.getArea());
    params::addVarChar(list, "@handle", block.getHandle());
    params::addDecimal(list, "@perimeter", block.getPerimeter());
    params::addInt(list, "@precision", block.getPrecision());
    procedure.setCommandTimeout(timeout);
    procedure.setName(name);
    CAttachedParameters attached(procedure, list);
    procedure.execSPNoReturnParasReturn();
    return static_cast<CParameterInt&>(*list.getParameter("@locationID")).getInt();
}

void setAreaInIPR(CBlockIPR& block, CStoredProcedure& procedure, const char* name, int timeout) {
    CParameters list;
    params::addInt(list, "@locationID", block.getLocationID());
    params::addDecimal(list, "@area", block.getArea());
    params::addVarChar(list, "@handle", block.getHandle());
    params::addDecimal(list, "@perimeter", block.getPerimeter());
    params::addInt(list, "@precision", block.getPrecision());
    procedure.setCommandTimeout(timeout);
    procedure.setName(name);
    CAttachedParameters attached(procedure, list);
    procedure.execSPNoReturnParas();
}
}  // namespace

CBlockIPR::CBlockIPR() { setBlockType(kBlockIPR); }
CBlockIPR::~CBlockIPR() = default;

void CBlockIPR::setStatusFromText(const std::string& status) {
    if (!status.empty() && status[0] == '0') statusExists_ = 1;
    if (status.size() > 1 && status.substr(1) == "1") statusDuplicate_ = 1;
}

void CBlockIPR::applyToIPR(CStoredProcedure&, int, int) {}

void CBlockIPRRoom::applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout) {
    procedureWrap(procedure, __FILE__, "CBlockIPRRoom::applyToIPR", [&] {
        setLocationID(setSpaceInIPR(*this, procedure, "__to_setRoomBlockInIPR", CParameter::kInputOutput, timeout));
        if (getAssets()) getAssets()->applyToIPR(procedure, drawingID, getLocationID(), timeout);
    });
}

void CBlockIPRBuilding::applyToIPR(CStoredProcedure& procedure, int, int timeout) {
    procedureWrap(procedure, __FILE__, "CBlockIPRBuilding::applyToIPR", [&] {
        setLocationID(setSpaceInIPR(*this, procedure, "__to_setBuildingBlockInIPR", CParameter::kInput, timeout));
    });
}

void CBlockIPRFloor::applyToIPR(CStoredProcedure& procedure, int, int timeout) {
    procedureWrap(procedure, __FILE__, "CBlockIPRFloor::applyToIPR",
                  [&] { setAreaInIPR(*this, procedure, "__to_setFloorBlockInIPR", timeout); });
}

void CBlockIPRSite::applyToIPR(CStoredProcedure& procedure, int, int timeout) {
    procedureWrap(procedure, __FILE__, "CBlockIPRSite::applyToIPR",
                  [&] { setAreaInIPR(*this, procedure, "__to_setSiteBlockInIPR", timeout); });
}
