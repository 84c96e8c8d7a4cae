#pragma once
#include <memory>
#include <string>

#include "data/Assets.h"
#include "spaceblocks/Block.h"

class CStoredProcedure;

// A space as the property database knows it: its location id, its parent's, and the status the
// database gives it. Each kind writes itself back with applyToIPR.
class CBlockIPR : public CBlock {
  public:
    CBlockIPR();
    ~CBlockIPR() override;

    int getLocationID() const { return locationID_; }
    void setLocationID(int id) { locationID_ = id; }
    int getParentID() const { return parentID_; }
    void setParentID(int id) { parentID_ = id; }
    int getStatusDuplicate() const { return statusDuplicate_; }
    void setStatusDuplicate(int flag) { statusDuplicate_ = flag ? 1 : 0; }
    int getStatusExists() const { return statusExists_; }
    void setStatusExists(int flag) { statusExists_ = flag ? 1 : 0; }
    CAssets* getAssets() const { return assets_.get(); }
    void setAssets(std::unique_ptr<CAssets> assets) { assets_ = std::move(assets); }
    void setHandle(std::string handle) { setHandleText(std::move(handle)); }

    // Reads the database's status text: first character "0" = exists, the rest "1" = duplicate.
    void setStatusFromText(const std::string& status);

    // The base writes nothing.
    virtual void applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout);

  private:
    int locationID_ = 0;
    int parentID_ = 0;
    int statusDuplicate_ = 0;
    int statusExists_ = 0;
    std::unique_ptr<CAssets> assets_;
};

// Rooms: "__to_setRoomBlockInIPR"; the server's location id is taken back; then the assets.
class CBlockIPRRoom : public CBlockIPR {
  public:
    CBlockIPRRoom() { setBlockType(kBlockIPRRoom); }
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout) override;
};

// Floors: "__to_setFloorBlockInIPR".
class CBlockIPRFloor : public CBlockIPR {
  public:
    CBlockIPRFloor() { setBlockType(kBlockIPRFloor); }
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout) override;
};

// Buildings: "__to_setBuildingBlockInIPR"; the location id is sent only, never taken back.
class CBlockIPRBuilding : public CBlockIPR {
  public:
    CBlockIPRBuilding() { setBlockType(kBlockIPRBuilding); }
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout) override;
};

// Sites: "__to_setSiteBlockInIPR".
class CBlockIPRSite : public CBlockIPR {
  public:
    CBlockIPRSite() { setBlockType(kBlockIPRSite); }
    void applyToIPR(CStoredProcedure& procedure, int drawingID, int timeout) override;
};
