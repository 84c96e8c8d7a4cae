#pragma once
#include <array>
#include <memory>
#include <string>

#include "engine/api/Dialogs.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"

class CBlockDWG;
class CHyperlinks;

// The hyperlink dialog (modeless): up to five addresses with descriptions for a picked block, or
// for every block using the same definition.
class CHyperPres : public cad::Dialog {
public:
    static constexpr int IDD = 204;
    static constexpr int IDC_SELECT = 233;
    static constexpr std::array<int, 5> kAddressIds{232, 234, 235, 230, 228};
    static constexpr std::array<int, 5> kDescriptionIds{291, 292, 293, 295, 294};
    static constexpr int IDC_APPLY_ALL = 296;
    static constexpr int IDC_APPLY = 229;
    static constexpr int IDC_CANCEL = 302;
    static constexpr int IDC_NAME = 303;
    static constexpr int IDC_HANDLE = 250;

    CHyperPres();
    ~CHyperPres() override;

    void setCurrentAcadBlock(cad::ObjectId id);
    void hyperlinkBlock(const CHyperlinks& hyperlinks);
    void hyperlinkAllBlocks(const CHyperlinks& hyperlinks);

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;

private:
    void onSelectBlock();
    void onAddressChanged(std::size_t row);
    bool apply();
    void readControls();
    void writeControls();
    bool drawingStillOpen();

    std::array<std::string, 5> descriptions_;
    std::array<std::string, 5> addresses_;
    bool applyToAll_ = false;
    std::string name_;
    std::string handle_;
    CAcadDrawing drawing_;
    std::unique_ptr<CBlockDWG> current_;
};
