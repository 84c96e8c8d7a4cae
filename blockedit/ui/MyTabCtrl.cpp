#include "ui/MyTabCtrl.h"

#include "ui/PresBlock.h"

CMyTabCtrl::CMyTabCtrl(CPresBlock& owner) : owner_(owner), data_(owner), format_(owner) {}

void CMyTabCtrl::init(int tabControlId) {
    owner_.addPage(tabControlId, data_);
    owner_.addPage(tabControlId, format_);
    owner_.item(tabControlId).setSelection(0);
}
