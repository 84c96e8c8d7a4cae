#include "spaceblocks/KorvaAttribute.h"

#include "core/KorvaWrap.h"

CKorvaAttribute::CKorvaAttribute(int kind, std::string value, std::string layer) {
    setKind(kind);
    setValue(std::move(value));
    setLayer(std::move(layer));
}

void CKorvaAttribute::setKind(int kind) {
    kind_ = kind;
    switch (kind) {
        case kName:
            setTag("NAME");
            break;
        case kArea:
            setTag("AREA");
            break;
        case kAux:
            setTag("AUX");
            break;
        default:
            break;
    }
}

std::unique_ptr<CAttribute> CKorvaAttribute::clone() const {
    return korvaWrap(__FILE__, "CKorvaAttribute::clone", [&]() -> std::unique_ptr<CAttribute> {
        auto copy = std::make_unique<CKorvaAttribute>();
        copy->setTag(getTag());
        copy->setValue(getValue());
        copy->kind_ = kind_;
        copy->setExists(getExists());
        return copy;
    });
}
