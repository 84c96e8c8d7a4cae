#pragma once
#include "engine/api/Dialogs.h"

class CBlockDWG;
class CPresBlock;

// The "Format" page: height, width factor and rotation of the attribute texts, and moving them.
class CTabFormat : public cad::Dialog {
public:
    static constexpr int IDD = 207;
    static constexpr int IDC_HEIGHT = 254;
    static constexpr int IDC_WIDTH_FACTOR = 229;
    static constexpr int IDC_ROTATION = 230;
    static constexpr int IDC_DEGREES = 1303;
    static constexpr int IDC_MOVE = 273;

    explicit CTabFormat(CPresBlock& window);

    void initialiseData(const CBlockDWG& record);
    void applyChanges(CBlockDWG& record);

private:
    void onMoveAttributes();

    CPresBlock& window_;
};
