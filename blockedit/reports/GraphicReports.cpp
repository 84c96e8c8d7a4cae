#include "reports/GraphicReports.h"

#include <stdexcept>

CGraphicReport& CGraphicReports::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("CGraphicReports::getAt: index outside the collection");
    return *items_[index];
}
