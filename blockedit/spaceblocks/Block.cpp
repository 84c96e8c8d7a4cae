#include "spaceblocks/Block.h"

#include "core/KorvaWrap.h"
#include "data/Hyperlinks.h"

CBlock::CBlock() = default;
CBlock::~CBlock() = default;

void CBlock::setHyperlinks(std::unique_ptr<CHyperlinks> hyperlinks) { hyperlinks_ = std::move(hyperlinks); }

void CBlock::copyBlockFieldsTo(CBlock& target) const {
    korvaWrap(__FILE__, "CBlock::copyBlockFieldsTo", [&] {
        target.handle_ = handle_;
        target.name_ = name_;
        target.code_ = code_;
        target.units_ = units_;
        target.precision_ = precision_;
        target.area_ = area_;
        target.perimeter_ = perimeter_;
        target.tagType_ = tagType_;
        target.areaType_ = areaType_;
        target.costCentre_ = costCentre_;
        target.date_ = date_;
        target.dateLastMove_ = dateLastMove_;
        target.deptCharge_ = deptCharge_;
        target.roomHeight_ = roomHeight_;
        target.specialReq_ = specialReq_;
        target.totStaff_ = totStaff_;
        target.totWkStns_ = totWkStns_;
        target.volume_ = volume_;
        target.blockType_ = blockType_;
        target.reserved_ = reserved_;
    });
}
