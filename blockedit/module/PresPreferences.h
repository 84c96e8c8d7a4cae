#pragma once
#include <string>

#include "engine/api/Dialogs.h"
#include "module/Preferences.h"

// The preferences dialog (modal). OK and the close box save what is shown; Escape leaves the file
// as it was.
class CPresPreferences : public cad::Dialog {
public:
    static constexpr int IDD = 129;
    static constexpr int IDC_METRIC = 1001;
    static constexpr int IDC_IMPERIAL = 1002;
    static constexpr int IDC_PRECISION = 1003;
    static constexpr int IDC_TEXT_SIZE = 1004;
    static constexpr int IDC_TEXT_SCALE = 1005;
    static constexpr int IDC_TEXT_ROTATION = 1006;
    static constexpr int IDC_ZOOM_BORDER = 1007;
    static constexpr int IDC_CSV_OPENER = 1008;
    static constexpr int IDC_NOTE = 1009;
    static constexpr int IDC_UNITS_LABEL = 1010;
    static constexpr int IDC_PRECISION_LABEL = 1011;
    static constexpr int IDC_PRECISION_UNIT = 1012;
    static constexpr int IDC_TEXT_GROUP = 1013;
    static constexpr int IDC_CSV_GROUP = 1014;
    static constexpr int IDM_ABOUT = 32771;

    // The console stacks dialogs by itself; the parent is taken for the callers that name one.
    explicit CPresPreferences(cad::Dialog* parent = nullptr);

    // Loads the settings into the dialog and shows it; IDOK when the settings were saved.
    int DoModal();

protected:
    bool onInitDialog() override;
    void onOK() override;
    void onClose() override;
    void doDataExchange(cad::DataExchange& dx) override;

private:
    void saveAndClose();
    void onAbout();

    CPreferences preferences_;
    int units_ = 0;
    int precision_ = 2;
    double textSize_ = 250.0;
    double textScale_ = 1.0;
    double textRotation_ = 0.0;
    double zoomBorder_ = 1000.0;
    std::string csvOpener_;
};

// mprefs / korvaPreferences: prints the command title and shows the dialog.
void preferencesCommand();
