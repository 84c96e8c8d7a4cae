#pragma once
#include <memory>
#include <string>

#include "engine/api/Dialogs.h"
#include "host/AcadDrawing.h"
#include "module/Preferences.h"
#include "spaceblocks/Blocks.h"

class CPresBlock;

// The block editor's list window (modeless): one entry per space block of the drawing, chosen in
// the list or picked in the drawing; the chosen block opens in a block window while this one hides.
class CPresBlockEdit : public cad::Dialog {
public:
    static constexpr int IDD = 210;
    static constexpr int IDC_LIST = 246;
    static constexpr int IDC_COMBO = 248;
    static constexpr int IDC_SELECT = 247;
    static constexpr int IDC_COUNT = 274;
    static constexpr int IDC_DRAWING_NAME = 312;
    static constexpr int IDC_CLOSE = 286;
    // The blanks that push an entry's handle out of sight.
    static constexpr int kHandleIndent = 200;

    CPresBlockEdit();
    ~CPresBlockEdit() override;

    void fillList();
    void showBlock(const std::string& handle);
    // The block window ended: the list comes back.
    void blockWindowClosed();

protected:
    bool onInitDialog() override;
    void onCancel() override;

private:
    void onCmdSelect();
    void onListChanged();
    // False (and the window closes) when the drawing it listed is no longer open.
    bool drawingStillOpen();

    CAcadDrawing drawing_;
    CPreferences preferences_;
    CBlocks blocks_;
    std::unique_ptr<CPresBlock> blockWindow_;
};
