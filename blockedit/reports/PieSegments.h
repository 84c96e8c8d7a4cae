#pragma once
#include <memory>
#include <vector>

#include "reports/PieSegment.h"

// The wedges of a pie chart, in category order, with the running total of their areas.
class CPieSegments {
public:
    // A segment whose label is already held is dropped; false then.
    bool add(std::unique_ptr<CPieSegment> segment);
    std::size_t getCount() const { return items_.size(); }
    const CPieSegment& getAt(std::size_t index) const { return *items_.at(index); }
    double getTotal() const { return total_; }
    void deleteObjects() {
        items_.clear();
        total_ = 0.0;
    }
    void addSegmentsToBlock(CAcadDrawing& drawing, cad::BlockTableRecord& block, bool ignoreEmpty,
                            const CPieSegment::Geometry& geometry);

private:
    std::vector<std::unique_ptr<CPieSegment>> items_;
    double total_ = 0.0;
};
