#include "ui/TabData.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "data/Assets.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"
#include "ui/PresBlock.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "TabData";

std::string attributeValue(const CBlockDWG& record, int kind) {
    if (record.getAttributes())
        if (const CAttribute* a = record.getAttributes()->getAtAttribute(kind)) return a->getValue();
    return {};
}

void setAttributeValue(CBlockDWG& record, int kind, const std::string& value) {
    if (!record.getAttributes()) record.setAttributes(std::make_unique<CAttributes>());
    if (CAttribute* a = record.getAttributes()->getAtAttribute(kind)) {
        a->setValue(value);
        return;
    }
    record.getAttributes()->add(std::make_unique<CKorvaAttribute>(kind, value));
}

}  // namespace

CTabData::CTabData(CPresBlock& window) : cad::Dialog(IDD, "Space Data"), window_(window) {
    addControl(IDC_NAME, ControlKind::Edit, "Name");
    addControl(IDC_AREA_TEXT, ControlKind::Edit, "Area Text");
    addControl(IDC_AUX_TEXT, ControlKind::Edit, "Aux Text");
    addControl(IDC_AREA, ControlKind::Edit, "Area");
    addControl(IDC_RECALC_AREA, ControlKind::Button, "recalc").onClick = [this] { recalculate(true, false); };
    addControl(IDC_COPY_AREA, ControlKind::Button, "^").onClick = [this] { copyUp(true); };
    addControl(IDC_AREA_UNIT, ControlKind::Static);
    addControl(IDC_PERIMETER, ControlKind::Edit, "Perimeter");
    addControl(IDC_RECALC_PERIMETER, ControlKind::Button, "recalc").onClick = [this] { recalculate(false, true); };
    addControl(IDC_COPY_PERIMETER, ControlKind::Button, "^").onClick = [this] { copyUp(false); };
    addControl(IDC_LENGTH_UNIT, ControlKind::Static);
    addControl(IDC_ROOM_HEIGHT, ControlKind::Edit).show(false);
    addControl(IDC_VOLUME, ControlKind::Edit).show(false);
    addControl(IDC_HANDLE, ControlKind::Static);
    addControl(IDC_ASSETS, ControlKind::Static);
    addControl(IDC_ADD_GROUP, ControlKind::GroupBox, "Additional Areas");
    addControl(IDC_ADD_SET, ControlKind::Button, "set").onClick = [this] { setAreas(Areas::Added); };
    addControl(IDC_ADD_HIGHLIGHT, ControlKind::Button, "highlight").onClick = [this] { highlightAreas(Areas::Added); };
    addControl(IDC_ADD_DELETE, ControlKind::Button, "delete").onClick = [this] { deleteAreas(Areas::Added); };
    addControl(IDC_SUB_GROUP, ControlKind::GroupBox, "Subtracted Areas");
    addControl(IDC_SUB_SET, ControlKind::Button, "set").onClick = [this] { setAreas(Areas::Subtracted); };
    addControl(IDC_SUB_HIGHLIGHT, ControlKind::Button, "highlight").onClick = [this] {
        highlightAreas(Areas::Subtracted);
    };
    addControl(IDC_SUB_DELETE, ControlKind::Button, "delete").onClick = [this] { deleteAreas(Areas::Subtracted); };
}

void CTabData::initialiseData(const CBlockDWG& record) {
    korvaWrap(kFile, "CTabData::initialiseData", [&] {
        setItemText(IDC_NAME, attributeValue(record, CKorvaAttribute::kName));
        setItemText(IDC_AREA_TEXT, attributeValue(record, CKorvaAttribute::kArea));
        setItemText(IDC_AUX_TEXT, attributeValue(record, CKorvaAttribute::kAux));
        item(IDC_AREA_UNIT).setCaption(record.getUnits() != 0 ? "ft\xC2\xB2" : "m\xC2\xB2");
        item(IDC_LENGTH_UNIT).setCaption(record.getUnits() != 0 ? "ft" : "m");
        item(IDC_HANDLE).setCaption(record.getHandle());
        const std::size_t assets = record.getAssets() ? record.getAssets()->getCount() : 0;
        item(IDC_ASSETS).setCaption(CUtilities::IntToCString(static_cast<int>(assets)));
        setItemText(IDC_ROOM_HEIGHT, CUtilities::DoubleToCString(record.getRoomHeight(), record.getPrecision()));
        setItemText(IDC_VOLUME, CUtilities::DoubleToCString(record.getVolume(), record.getPrecision()));
        showMeasures();
    });
}

void CTabData::showMeasures() {
    const CBlockDWG& record = window_.record();
    setItemText(IDC_AREA, CUtilities::DoubleToCString(record.getArea(), record.getPrecision()));
    setItemText(IDC_PERIMETER, CUtilities::DoubleToCString(record.getPerimeter(), record.getPrecision()));
}

void CTabData::applyChanges(CBlockDWG& record) {
    korvaWrap(kFile, "CTabData::applyChanges", [&] {
        record.setName(itemText(IDC_NAME));
        setAttributeValue(record, CKorvaAttribute::kName, itemText(IDC_NAME));
        setAttributeValue(record, CKorvaAttribute::kArea, itemText(IDC_AREA_TEXT));
        setAttributeValue(record, CKorvaAttribute::kAux, itemText(IDC_AUX_TEXT));
        record.setArea(CUtilities::CStringToDouble(itemText(IDC_AREA)));
        record.setPerimeter(CUtilities::CStringToDouble(itemText(IDC_PERIMETER)));
    });
}

void CTabData::setAreas(Areas which) {
    const bool added = which == Areas::Added;
    korvaTopLevel(kFile, added ? "CTabData::OnBnClickedCmdAddArea" : "CTabData::OnBnClickedCmdSubArea", [&] {
        CBlockDWG& record = window_.record();
        cad::Document& document = *window_.drawing().getDocument();
        cad::Database& db = window_.drawing().database();
        window_.hideWindows();
        if (added)
            record.highlightAreasAdded(document, false, false);
        else
            record.highlightAreasSubtracted(document, false, false);
        std::vector<cad::ObjectId> ids;
        CAcadUtilities::selectObjectIds(added ? "Please Select Areas to Add (selected room/space blocks will be ignored)"
                                              : "Please Select Areas to Subtract (selected room/space blocks will be ignored)",
                                        ids);
        if (added)
            record.setHandlesToAdd(ids, db);
        else
            record.setHandlesToMinus(ids, db);
        record.recalculateArea(db);
        record.recalculatePerimeter(db);
        showMeasures();
        window_.showWindows();
    });
}

void CTabData::deleteAreas(Areas which) {
    const bool added = which == Areas::Added;
    korvaTopLevel(kFile, added ? "CTabData::OnBnClickedCmdAddAreaDelete" : "CTabData::OnBnClickedCmdSubAreaDelete",
                  [&] {
                      CBlockDWG& record = window_.record();
                      cad::Database& db = window_.drawing().database();
                      if (added)
                          record.setHandlesToAdd(std::string(), db);
                      else
                          record.setHandlesToMinus(std::string(), db);
                      record.recalculateArea(db);
                      record.recalculatePerimeter(db);
                      showMeasures();
                  });
}

void CTabData::highlightAreas(Areas which) {
    const bool added = which == Areas::Added;
    korvaTopLevel(kFile, added ? "CTabData::OnBnClickedCmdAddAreaHighlight" : "CTabData::OnBnClickedCmdSubAreaHighlight",
                  [&] {
                      CBlockDWG& record = window_.record();
                      cad::Document& document = *window_.drawing().getDocument();
                      if (added)
                          record.highlightAreasAdded(document, true, true);
                      else
                          record.highlightAreasSubtracted(document, true, true);
                      showMeasures();
                  });
}

void CTabData::recalculate(bool area, bool perimeter) {
    korvaTopLevel(kFile, area ? "CTabData::OnBnClickedCmdRecalcArea" : "CTabData::OnBnClickedCmdRecalcPerimeter", [&] {
        CBlockDWG& record = window_.record();
        cad::Database& db = window_.drawing().database();
        if (area) record.recalculateArea(db);
        if (perimeter) record.recalculatePerimeter(db);
        showMeasures();
    });
}

void CTabData::copyUp(bool area) {
    korvaTopLevel(kFile, area ? "CTabData::OnBnClickedCmdCopyArea" : "CTabData::OnBnClickedCmdCopyPerimeter", [&] {
        const bool imperial = window_.record().getUnits() == 1;
        if (area)
            setItemText(IDC_AREA_TEXT, itemText(IDC_AREA) + (imperial ? "sq.ft." : "sq.m."));
        else
            setItemText(IDC_AUX_TEXT, itemText(IDC_PERIMETER) + (imperial ? "ft." : "m."));
        showMeasures();
    });
}
