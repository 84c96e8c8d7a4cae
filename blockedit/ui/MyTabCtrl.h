#pragma once
#include "ui/TabData.h"
#include "ui/TabFormat.h"

namespace cad {
class Dialog;
}

// The block window's tab control: the "Space Data" and "Format" pages as child dialogs of it, the
// first on show.
class CMyTabCtrl {
public:
    explicit CMyTabCtrl(CPresBlock& owner);
    // Puts both pages on the owner's tab control and shows the first.
    void init(int tabControlId);
    CTabData& data() { return data_; }
    CTabFormat& format() { return format_; }

private:
    CPresBlock& owner_;
    CTabData data_;
    CTabFormat format_;
};
