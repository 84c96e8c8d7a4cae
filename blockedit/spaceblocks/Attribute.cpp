#include "spaceblocks/Attribute.h"

#include "core/KorvaWrap.h"

std::unique_ptr<CAttribute> CAttribute::clone() const {
    return korvaWrap(__FILE__, "CAttribute::clone", [&] {
        auto copy = std::make_unique<CAttribute>(tag_, value_);
        copy->exists_ = exists_;
        return copy;
    });
}
