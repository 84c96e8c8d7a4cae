#include "module/PresPreferences.h"

#include "core/KorvaWrap.h"
#include "engine/api/Dialogs.h"
#include "module/CommandFrame.h"
#include "ui/PresAbout.h"

using cad::ControlKind;

namespace {

// Text sizes below this are too small to read; the dialog proposes and saves sizes from here up.
constexpr double kSmallestTextSize = 1.0;
constexpr double kProposedTextSize = 250.0;

}  // namespace

CPresPreferences::CPresPreferences(cad::Dialog*) : cad::Dialog(IDD, "Zerav Ideriru Dozov - Preferences") {
    addControl(IDC_UNITS_LABEL, ControlKind::Static, "Measurements are in:");
    addControl(IDC_METRIC, ControlKind::RadioButton, "m").setGroup(1);
    addControl(IDC_IMPERIAL, ControlKind::RadioButton, "ft").setGroup(1);
    addControl(IDC_PRECISION_LABEL, ControlKind::Static, "Area precision is to");
    addControl(IDC_PRECISION, ControlKind::Edit);
    addControl(IDC_PRECISION_UNIT, ControlKind::Static, "decimal places.");
    addControl(IDC_TEXT_GROUP, ControlKind::GroupBox, "Default Text");
    addControl(IDC_TEXT_SIZE, ControlKind::Edit, "Size");
    addControl(IDC_TEXT_SCALE, ControlKind::Edit, "Scale");
    addControl(IDC_TEXT_ROTATION, ControlKind::Edit, "Rotation");
    addControl(IDC_ZOOM_BORDER, ControlKind::Edit, "Zoom  Border");
    addControl(IDC_CSV_GROUP, ControlKind::GroupBox, "Export Details to CSV file");
    addControl(IDC_CSV_OPENER, ControlKind::Edit, "Open CSV file with");
    addControl(IDC_NOTE, ControlKind::Static, "NB precision only affects newly created areas");
    addControl(cad::IDOK, ControlKind::Button, "OK");
    // The menu bar's "&Help" popup holds this one item.
    addMenuItem(IDM_ABOUT, "&About", [this] { onAbout(); });
}

int CPresPreferences::DoModal() { return doModal(); }

bool CPresPreferences::onInitDialog() {
    korvaTopLevel(__FILE__, "CPresPreferences::OnInitDialog", [this] {
        preferences_.loadPreferences();
        units_ = preferences_.getUnits();
        precision_ = preferences_.getPrecision();
        textSize_ = preferences_.getTextSize() < kSmallestTextSize ? kProposedTextSize : preferences_.getTextSize();
        textScale_ = preferences_.getTextScale();
        textRotation_ = preferences_.getTextRotation();
        zoomBorder_ = preferences_.getZoomBorder();
        csvOpener_ = preferences_.getCsvOpener();
        updateData(false);
    });
    return true;
}

void CPresPreferences::doDataExchange(cad::DataExchange& dx) {
    dx.radio(IDC_METRIC, units_);
    dx.text(IDC_PRECISION, precision_);
    dx.minMax(IDC_PRECISION, precision_, 0, CPreferences::kMostPrecision);
    dx.text(IDC_TEXT_SIZE, textSize_);
    dx.text(IDC_TEXT_SCALE, textScale_);
    dx.text(IDC_TEXT_ROTATION, textRotation_);
    dx.text(IDC_ZOOM_BORDER, zoomBorder_);
    dx.minMax(IDC_ZOOM_BORDER, zoomBorder_, 0.0, CPreferences::kMostZoomBorder);
    dx.text(IDC_CSV_OPENER, csvOpener_);
}

void CPresPreferences::onOK() { saveAndClose(); }

void CPresPreferences::onClose() { saveAndClose(); }

void CPresPreferences::saveAndClose() {
    korvaTopLevel(__FILE__, "CPresPreferences::OnOK", [this] {
        if (!updateData(true)) return;
        if (textSize_ < kSmallestTextSize) textSize_ = kSmallestTextSize;
        preferences_.setUnits(units_);
        preferences_.setPrecision(precision_);
        preferences_.setTextSize(textSize_);
        preferences_.setTextScale(textScale_);
        preferences_.setTextRotation(textRotation_);
        preferences_.setZoomBorder(zoomBorder_);
        preferences_.setCsvOpener(csvOpener_);
        preferences_.savePreferences();
        endDialog(cad::IDOK);
    });
}

void CPresPreferences::onAbout() {
    korvaTopLevel(__FILE__, "CPresPreferences::OnAbout", [this] {
        CPresAbout about(this);
        about.DoModal();
    });
}

void preferencesCommand() {
    CCommandFrame frame("preferences");
    frame.setTitle("Korva Edit Preferences").run([] {
        CPresPreferences dialog;
        dialog.DoModal();
    });
}
