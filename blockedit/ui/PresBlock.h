#pragma once
#include <memory>

#include "engine/api/Dialogs.h"
#include "ui/MyTabCtrl.h"

class CAcadDrawing;
class CBlockDWG;
class CPreferences;
class CPresBlockEdit;

// The block window (modeless): the chosen block's data and formatting on two tab pages, worked on
// a copy of its record; only Apply and OK write it to the drawing.
class CPresBlock : public cad::Dialog {
public:
    static constexpr int IDD = 201;
    static constexpr int IDC_TAB = 245;
    static constexpr int IDC_APPLY = 284;
    static constexpr int IDC_CANCEL = 285;
    static constexpr int IDC_RESET = 287;

    CPresBlock(std::unique_ptr<CBlockDWG> record, CPreferences& preferences, CAcadDrawing& drawing,
               CPresBlockEdit& list);
    ~CPresBlock() override;

    CBlockDWG& record() { return *record_; }
    CAcadDrawing& drawing() { return drawing_; }
    // Both this window and the list window: hidden while the user picks in the drawing.
    void hideWindows();
    void showWindows();

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    bool apply();
    void closeWindow();

    std::unique_ptr<CBlockDWG> record_;
    CPreferences& preferences_;
    CAcadDrawing& drawing_;
    CPresBlockEdit& list_;
    CMyTabCtrl tabs_;
};
