#include "reports/PieSegments.h"

#include "core/KorvaWrap.h"

bool CPieSegments::add(std::unique_ptr<CPieSegment> segment) {
    if (!segment) return false;
    for (const auto& held : items_)
        if (held->getLabel() == segment->getLabel()) return false;
    total_ += segment->getArea();
    items_.push_back(std::move(segment));
    return true;
}

void CPieSegments::addSegmentsToBlock(CAcadDrawing& drawing, cad::BlockTableRecord& block, bool ignoreEmpty,
                                      const CPieSegment::Geometry& geometry) {
    korvaWrap("PieSegments", "CPieSegments::addSegmentsToBlock", [&] {
        double cumulative = 0.0;
        for (const auto& segment : items_) {
            if (segment->getArea() == 0.0 && ignoreEmpty) continue;
            segment->addSegmentToBlock(drawing, block, cumulative, geometry);
            cumulative += segment->getArea();
        }
    });
}
