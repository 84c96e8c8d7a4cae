#include "ui/ModelessWindows.h"

#include <algorithm>

CModelessWindows& CModelessWindows::module() {
    static CModelessWindows windows;
    return windows;
}

void CModelessWindows::sweep() {
    std::erase_if(windows_, [](const std::unique_ptr<cad::Dialog>& w) { return !w->isOpen(); });
}

void CModelessWindows::closeAll() {
    for (auto& w : windows_) w->destroyWindow();
    windows_.clear();
}
