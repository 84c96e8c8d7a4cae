#pragma once
#include "engine/api/Dialogs.h"

// The about box of the preferences dialog: product, host and module versions, build date.
class CPresAbout : public cad::Dialog {
public:
    static constexpr int IDD = 100;
    static constexpr int IDC_TITLE = 1101;
    static constexpr int IDC_CAD_LABEL = 1102;
    static constexpr int IDC_CAD_VERSION = 1103;
    static constexpr int IDC_ZDK_LABEL = 1104;
    static constexpr int IDC_ZDK_VERSION = 1105;
    static constexpr int IDC_DATE_LABEL = 1106;
    static constexpr int IDC_COMPILE_DATE = 1107;

    explicit CPresAbout(cad::Dialog* parent = nullptr);

    int DoModal() { return doModal(); }
};
