#include "spaceblocks/Attributes.h"

#include <cmath>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "spaceblocks/KorvaAttribute.h"
#include "engine/api/Text.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr double kPi = 3.141592653589793;

// The text's rotation as seen in the user coordinate system, in degrees.
double rotationInUcs(const cad::Attribute& attribute, const cad::Matrix3d& ucsToWcs) {
    auto copy = attribute.clone();
    auto& text = static_cast<cad::Attribute&>(*copy);
    text.transformBy(ucsToWcs.inverse());
    return text.rotation() * 180.0 / kPi;
}

// Sets the rotation (degrees) as measured in the user coordinate system.
void setRotationInUcs(cad::Attribute& attribute, double degrees, const cad::Matrix3d& ucsToWcs) {
    attribute.transformBy(ucsToWcs.inverse());
    attribute.setRotation(degrees * kPi / 180.0);
    attribute.transformBy(ucsToWcs);
}

void placeText(cad::Attribute& attribute, const cad::Point3d& position) {
    attribute.setPosition(position);
    if (!attribute.isDefaultAlignment()) attribute.setAlignmentPoint(position);
}

}  // namespace

bool CAttributes::add(std::unique_ptr<CAttribute> attribute, bool allowDuplicates) {
    return korvaWrap(kFile, "CAttributes::add", [&] {
        if (!attribute) return false;
        if (!allowDuplicates && getAtAttribute(attribute->getTag())) return false;
        items_.push_back(std::move(attribute));
        ++count_;
        return true;
    });
}

CAttribute* CAttributes::getAtAttribute(const std::string& tag) const {
    return korvaWrap(kFile, "CAttributes::getAtAttribute", [&]() -> CAttribute* {
        for (const auto& item : items_)
            if (item->getTag() == tag) return item.get();
        return nullptr;
    });
}

CAttribute* CAttributes::getAtAttribute(int kind) const {
    return korvaWrap(kFile, "CAttributes::getAtAttribute", [&]() -> CAttribute* {
        for (const auto& item : items_) {
            const auto* korva = dynamic_cast<const CKorvaAttribute*>(item.get());
            if (korva && korva->getKind() == kind) return item.get();
        }
        return nullptr;
    });
}

void CAttributes::deleteObjects() {
    korvaWrap(kFile, "CAttributes::deleteObjects", [&] {
        items_.clear();
        count_ = 0;
    });
}

void CAttributes::extractAttributeValues(const cad::BlockReference& reference) {
    korvaWrap(kFile, "CAttributes::extractAttributeValues", [&] {
        deleteObjects();
        cad::Database* db = reference.database();
        if (!db) return;
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id);
            if (!attribute) continue;
            add(std::make_unique<CAttribute>(attribute->tag(), attribute->textString(),
                                             attribute->layerName(), 1),
                true);
        }
    });
}

void CAttributes::extractSpaceBlockAttributeValues(const cad::BlockReference& reference,
                                                   const cad::Matrix3d& ucsToWcs) {
    korvaWrap(kFile, "CAttributes::extractSpaceBlockAttributeValues", [&] {
        deleteObjects();
        cad::Database* db = reference.database();
        if (!db) return;
        bool first = true;
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (!attribute) continue;
            if (first) {
                textHeight_ = attribute->height();
                widthFactor_ = attribute->widthFactor();
                rotation_ = rotationInUcs(*attribute, ucsToWcs);
                first = false;
            }
            const std::string tag = cad::toUpperAscii(attribute->tag());
            int kind = -1;
            if (tag == "NAME") {
                kind = CKorvaAttribute::kName;
            } else if (tag == "AREA") {
                kind = CKorvaAttribute::kArea;
                areaPosition_ = attribute->position();
            } else if (tag == "AUX") {
                kind = CKorvaAttribute::kAux;
            }
            if (kind < 0) continue;
            auto korva =
                std::make_unique<CKorvaAttribute>(kind, attribute->textString(), attribute->layerName());
            add(std::move(korva), false);
        }
    });
}

void CAttributes::applyToDWG(cad::BlockReference& reference, const cad::Matrix3d& ucsToWcs,
                             const cad::Point3d* anchor) const {
    korvaWrap(kFile, "CAttributes::applyToDWG", [&] {
        cad::Database* db = reference.database();
        if (!db) return;
        cad::Point3d p;
        if (anchor) {
            p = *anchor;
        } else {
            for (cad::ObjectId id : reference.attributeIds()) {
                auto attribute = db->open<cad::Attribute>(id);
                if (attribute && cad::toUpperAscii(attribute->tag()) == "AREA") {
                    p = attribute->position();
                    break;
                }
            }
        }
        const CAttribute* name = getAtAttribute(CKorvaAttribute::kName);
        const CAttribute* area = getAtAttribute(CKorvaAttribute::kArea);
        const CAttribute* aux = getAtAttribute(CKorvaAttribute::kAux);
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (!attribute) continue;
            attribute->setHeight(textHeight_);
            attribute->setWidthFactor(widthFactor_);
            setRotationInUcs(*attribute, rotation_, ucsToWcs);
            const double r = attribute->rotation();
            const double dx = textHeight_ * std::sin(r) * 1.5;
            const double dy = textHeight_ * std::cos(r) * 1.5;
            const std::string tag = cad::toUpperAscii(attribute->tag());
            if (tag == "NAME") {
                if (name) attribute->setTextString(name->getValue());
                placeText(*attribute, {p.x - dx, p.y + dy, p.z});
            } else if (tag == "AREA") {
                if (area) attribute->setTextString(area->getValue());
                placeText(*attribute, p);
            } else if (tag == "AUX") {
                if (aux) attribute->setTextString(aux->getValue());
                placeText(*attribute, {p.x + dx, p.y - dy, p.z});
            }
        }
    });
}

void CAttributes::applyToDWG(cad::Database& db, cad::ObjectId referenceId, const cad::Matrix3d& ucsToWcs,
                             const cad::Point3d* anchor) const {
    korvaWrap(kFile, "CAttributes::applyToDWG", [&] {
        auto reference = db.open<cad::BlockReference>(referenceId, cad::OpenMode::ForWrite);
        if (reference) applyToDWG(*reference, ucsToWcs, anchor);
    });
}

void CAttributes::applyToDWG(cad::BlockReference& reference, const CAttributes& values) {
    korvaWrap(kFile, "CAttributes::applyToDWG", [&] {
        cad::Database* db = reference.database();
        if (!db) return;
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (!attribute) continue;
            const CAttribute* match = values.getAtAttribute(attribute->tag());
            if (!match) continue;
            attribute->setTextString(match->getValue());
            if (!match->getLayer().empty()) attribute->setLayer(match->getLayer());
        }
    });
}

void CAttributes::copyFormattingTo(CAttributes& target) const {
    target.textHeight_ = textHeight_;
    target.rotation_ = rotation_;
    target.widthFactor_ = widthFactor_;
}

void CAttributes::copyAttributesTo(CAttributes& target) const {
    korvaWrap(kFile, "CAttributes::copyAttributesTo", [&] {
        for (const auto& item : items_) target.add(item->CAttribute::clone(), false);
        copyFormattingTo(target);
    });
}

void CAttributes::copyKorvaAttributesTo(CAttributes& target) const {
    korvaWrap(kFile, "CAttributes::copyKorvaAttributesTo", [&] {
        for (const auto& item : items_) target.add(item->clone(), false);
        copyFormattingTo(target);
    });
}

std::vector<cad::ObjectId> CAttributes::setAttributesIDsInvisible(cad::BlockReference& reference) {
    return korvaWrap(kFile, "CAttributes::setAttributesIDsInvisible", [&] {
        std::vector<cad::ObjectId> hidden;
        cad::Database* db = reference.database();
        if (!db) return hidden;
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (!attribute || !attribute->isVisible()) continue;
            attribute->setVisible(false);
            hidden.push_back(id);
        }
        return hidden;
    });
}

void CAttributes::setAttributesIDsVisible(cad::Database& db, const std::vector<cad::ObjectId>& ids) {
    korvaWrap(kFile, "CAttributes::setAttributesIDsVisible", [&] {
        for (cad::ObjectId id : ids) {
            auto attribute = db.open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (attribute) attribute->setVisible(true);
        }
    });
}
