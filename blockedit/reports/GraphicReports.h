#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "reports/GraphicReport.h"

// Reports waiting for the same treatment, in order. Owns them.
class CGraphicReports {
public:
    CGraphicReports() = default;
    ~CGraphicReports() = default;
    CGraphicReports(const CGraphicReports&) = delete;
    CGraphicReports& operator=(const CGraphicReports&) = delete;

    void addGraphicReport(std::unique_ptr<CGraphicReport> report) { items_.push_back(std::move(report)); }
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CGraphicReport& getAt(std::size_t index) const;
    void deleteObjects() { items_.clear(); }

private:
    std::vector<std::unique_ptr<CGraphicReport>> items_;
};
