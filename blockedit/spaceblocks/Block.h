#pragma once
#include <memory>
#include <string>

// Owned parts of a record that belong to the higher layers: held here, defined there.
class CHyperlinks;

// The data every space record shares, on the drawing side and on the database side.
class CBlock {
  public:
    // blockType codes.
    static constexpr int kBlock = 0;
    static constexpr int kBlockIPR = 1;
    static constexpr int kBlockIPRRoom = 2;
    static constexpr int kBlockIPRFloor = 3;
    static constexpr int kBlockIPRBuilding = 4;
    static constexpr int kBlockIPRSite = 5;
    static constexpr int kBlockDWG = 6;
    static constexpr int kBlockDWGRoom = 7;
    static constexpr int kBlockDWGFloor = 8;
    static constexpr int kBlockDWGBuilding = 9;
    static constexpr int kBlockDWGSite = 10;

    CBlock();
    virtual ~CBlock();
    CBlock(const CBlock&) = delete;
    CBlock& operator=(const CBlock&) = delete;

    const std::string& getHandle() const { return handle_; }
    const std::string& getName() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const std::string& getCode() const { return code_; }
    void setCode(std::string code) { code_ = std::move(code); }
    int getUnits() const { return units_; }
    void setUnits(int units) { units_ = units; }
    int getPrecision() const { return precision_; }
    void setPrecision(int precision) { precision_ = precision; }
    double getArea() const { return area_; }
    void setArea(double area) { area_ = area; }
    double getPerimeter() const { return perimeter_; }
    void setPerimeter(double perimeter) { perimeter_ = perimeter; }
    const std::string& getTagType() const { return tagType_; }
    void setTagType(std::string text) { tagType_ = std::move(text); }
    const std::string& getAreaType() const { return areaType_; }
    void setAreaType(std::string text) { areaType_ = std::move(text); }
    const std::string& getCostCentre() const { return costCentre_; }
    void setCostCentre(std::string text) { costCentre_ = std::move(text); }
    const std::string& getDate() const { return date_; }
    void setDate(std::string text) { date_ = std::move(text); }
    const std::string& getDateLastMove() const { return dateLastMove_; }
    void setDateLastMove(std::string text) { dateLastMove_ = std::move(text); }
    const std::string& getDeptCharge() const { return deptCharge_; }
    void setDeptCharge(std::string text) { deptCharge_ = std::move(text); }
    double getRoomHeight() const { return roomHeight_; }
    void setRoomHeight(double height) { roomHeight_ = height; }
    const std::string& getSpecialReq() const { return specialReq_; }
    void setSpecialReq(std::string text) { specialReq_ = std::move(text); }
    const std::string& getTotStaff() const { return totStaff_; }
    void setTotStaff(std::string text) { totStaff_ = std::move(text); }
    const std::string& getTotWkStns() const { return totWkStns_; }
    void setTotWkStns(std::string text) { totWkStns_ = std::move(text); }
    double getVolume() const { return volume_; }
    void setVolume(double volume) { volume_ = volume; }
    int getBlockType() const { return blockType_; }
    void setBlockType(int type) { blockType_ = type; }
    int getReserved() const { return reserved_; }
    void setReserved(int value) { reserved_ = value; }

    CHyperlinks* getHyperlinks() const { return hyperlinks_.get(); }
    void setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks);

    // volume := roomHeight x area.
    void updateVolume() { volume_ = roomHeight_ * area_; }
    // Every text and number field; the hyperlinks are the caller's business.
    void copyBlockFieldsTo(CBlock& target) const;

  protected:
    void setHandleText(std::string handle) { handle_ = std::move(handle); }

  private:
    std::string handle_;
    std::string name_;
    std::string code_;
    int units_ = 0;
    int precision_ = 2;
    double area_ = 0.0;
    double perimeter_ = 0.0;
    std::string tagType_;
    std::string areaType_;
    std::string costCentre_;
    std::string date_;
    std::string dateLastMove_;
    std::string deptCharge_;
    double roomHeight_ = 0.0;
    std::string specialReq_;
    std::string totStaff_;
    std::string totWkStns_;
    double volume_ = 0.0;
    int blockType_ = kBlock;
    int reserved_ = 0;
    std::unique_ptr<CHyperlinks> hyperlinks_;
};
