#pragma once
#include "engine/api/Dialogs.h"

class CBlockDWG;
class CPresBlock;

// The "Space Data" page: name, area and auxiliary texts, area and perimeter with their
// recalculation, and the added and subtracted areas picked in the drawing.
class CTabData : public cad::Dialog {
public:
    static constexpr int IDD = 208;
    static constexpr int IDC_NAME = 203;
    static constexpr int IDC_AREA_TEXT = 204;
    static constexpr int IDC_AUX_TEXT = 205;
    static constexpr int IDC_AREA = 219;
    static constexpr int IDC_PERIMETER = 218;
    static constexpr int IDC_AREA_UNIT = 313;
    static constexpr int IDC_LENGTH_UNIT = 336;
    static constexpr int IDC_HANDLE = 251;
    static constexpr int IDC_ASSETS = 255;
    static constexpr int IDC_ROOM_HEIGHT = 217;
    static constexpr int IDC_VOLUME = 221;
    static constexpr int IDC_RECALC_AREA = 249;
    static constexpr int IDC_RECALC_PERIMETER = 335;
    static constexpr int IDC_COPY_AREA = 252;
    static constexpr int IDC_COPY_PERIMETER = 253;
    static constexpr int IDC_ADD_SET = 332;
    static constexpr int IDC_ADD_HIGHLIGHT = 334;
    static constexpr int IDC_ADD_DELETE = 333;
    static constexpr int IDC_SUB_SET = 244;
    static constexpr int IDC_SUB_HIGHLIGHT = 316;
    static constexpr int IDC_SUB_DELETE = 245;
    static constexpr int IDC_ADD_GROUP = 1301;
    static constexpr int IDC_SUB_GROUP = 1302;

    explicit CTabData(CPresBlock& window);

    void initialiseData(const CBlockDWG& record);
    void applyChanges(CBlockDWG& record);

private:
    enum class Areas { Added, Subtracted };
    void setAreas(Areas which);
    void deleteAreas(Areas which);
    void highlightAreas(Areas which);
    void recalculate(bool area, bool perimeter);
    void copyUp(bool area);
    // Area and perimeter of the record into their edits.
    void showMeasures();

    CPresBlock& window_;
};
