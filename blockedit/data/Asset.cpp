#include "data/Asset.h"

#include "core/EXKinds.h"
#include "core/HostError.h"
#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "core/Utilities.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "reports/Hatch.h"

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

CAsset::CAsset(const cad::BlockReference& reference, const std::string& blockIdentifier) {
    korvaWrap(kFile, "CAsset::CAsset", [&] {
        const cad::Point3d point = CAcadUtilities::convertWCSToUCS(reference.position());
        objectId_ = reference.objectId();
        handle_ = reference.handle();
        blockIdentifier_ = blockIdentifier;
        pointX_ = point.x;
        pointY_ = point.y;
        assetExistsInLocation_ = 1;
        attributes_ = std::make_unique<CAttributes>();
        attributes_->extractAttributeValues(reference);
    });
}

CAsset::CAsset() = default;
CAsset::~CAsset() = default;

void CAsset::setHatchSettings(std::unique_ptr<CHatch> hatch) { hatchSettings_ = std::move(hatch); }

std::string CAsset::getHandleText() const { return handle_.isNull() ? std::string() : handle_.toString(); }

void CAsset::setHandle(const std::string& text) {
    korvaWrap(kFile, "CAsset::setHandle", [&] { handle_ = cad::Handle::parse(text).value_or(cad::Handle()); });
}

void CAsset::copyTo(CAsset& target) const {
    korvaWrap(kFile, "CAsset::copyTo", [&] {
        target.objectId_ = objectId_;
        target.handle_ = handle_;
        target.locationID_ = locationID_;
        target.drawingID_ = drawingID_;
        target.blockIdentifier_ = blockIdentifier_;
        target.blockDescription_ = blockDescription_;
        target.uniqueDescription_ = uniqueDescription_;
        target.pointX_ = pointX_;
        target.pointY_ = pointY_;
        target.assetExistsInLocation_ = assetExistsInLocation_;
        target.attributes_.reset();
        if (attributes_) {
            target.attributes_ = std::make_unique<CAttributes>();
            attributes_->copyAttributesTo(*target.attributes_);
        }
        target.hyperlinks_.reset();
        if (hyperlinks_) {
            target.hyperlinks_ = std::make_unique<CHyperlinks>();
            hyperlinks_->copyTo(*target.hyperlinks_);
        }
        target.hatchSettings_ = hatchSettings_ ? hatchSettings_->clone() : nullptr;
    });
}

// ---- XML ----

pugi::xml_node CAsset::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CAsset::serialize", [&] {
        pugi::xml_node node = factory.createNode("asset", namespaceURI);
        auto child = [&](const char* name, const std::string& text) {
            CXMLUtilities::appendChild(node, factory.createNode(name, text, namespaceURI));
        };
        child("locationID", CUtilities::IntToCString(locationID_));
        child("handle", getHandleText());
        child("blockIdentifier", blockIdentifier_);
        child("blockDescription", blockDescription_);
        child("uniqueDescription", uniqueDescription_);
        child("pointX", CUtilities::DoubleToCString(pointX_, 5));
        child("pointY", CUtilities::DoubleToCString(pointY_, 5));
        return node;
    });
}

void CAsset::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CAsset::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = child.text().get();
            if (name == "locationID")
                locationID_ = CUtilities::CStringToInt(text);
            else if (name == "handle")
                setHandle(text);
            else if (name == "blockIdentifier")
                blockIdentifier_ = text;
            else if (name == "blockDescription")
                blockDescription_ = text;
            else if (name == "uniqueDescription")
                uniqueDescription_ = text;
            else if (name == "pointX")
                pointX_ = CUtilities::CStringToDouble(text);
            else if (name == "pointY")
                pointY_ = CUtilities::CStringToDouble(text);
        }
    });
}

// ---- drawing ----

void CAsset::applyToDWG(cad::Document& drawing, CKorvaExceptions& errors) {
    korvaWrap(kFile, "CAsset::applyToDWG", [&] {
        cad::AcAxDocLock lock(drawing);
        KORVA_HOST_CHECK(lock.lockStatus(), drawing.fileName());
        cad::Database& db = drawing.database();
        auto reference = db.open<cad::BlockReference>(objectId_, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(reference.openStatus(), drawing.fileName());
        // The asset's layer is shown whatever state it was in.
        if (auto layer = db.open<cad::LayerTableRecord>(reference->layerId(), cad::OpenMode::ForWrite)) {
            layer->setFrozen(false);
            layer->setLocked(false);
            layer->setOff(false);
            layer->setPlottable(true);
            layer->setLineWeight(0);
        }
        if (!hatchSettings_) {
            if (hyperlinks_) hyperlinkAsset(*reference);
        } else {
            const cad::ObjectId hatchId = hatchAsset(drawing, *reference, errors);
            if (hyperlinks_) {
                hyperlinkAsset(*reference);
                hyperlinkHatch(db, hatchId);
            }
        }
        if (attributes_) CAttributes::applyToDWG(*reference, *attributes_);
    });
}

void CAsset::hyperlinkEntity(cad::Entity& entity) const {
    korvaWrap(kFile, "CAsset::hyperlinkEntity", [&] {
        const CHyperlinks none;
        (hyperlinks_ ? *hyperlinks_ : none).writeToEntity(entity);
    });
}

void CAsset::hyperlinkAsset(cad::BlockReference& reference) const {
    korvaWrap(kFile, "CAsset::hyperlinkAsset", [&] {
        const CHyperlinks none;
        (hyperlinks_ ? *hyperlinks_ : none).writeToBlock(reference, false);
    });
}

void CAsset::hyperlinkHatch(cad::Database& db, cad::ObjectId hatchId) const {
    korvaWrap(kFile, "CAsset::hyperlinkHatch", [&] {
        if (hatchId.isNull()) return;
        auto hatch = db.open<cad::Entity>(hatchId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(hatch.openStatus(), std::string());
        hyperlinkEntity(*hatch);
    });
}

cad::ObjectId CAsset::hatchAsset(cad::Document& drawing, cad::BlockReference& reference, CKorvaExceptions& errors) {
    return korvaWrap(kFile, "CAsset::hatchAsset", [&] {
        cad::Database& db = drawing.database();
        cad::Extents3d box;
        auto definition = db.open<cad::BlockTableRecord>(reference.blockTableRecord());
        KORVA_HOST_CHECK(definition.openStatus(), std::string());
        for (cad::ObjectId id : definition->liveEntityIds()) {
            auto entity = db.open<cad::Entity>(id);
            cad::Extents3d extents;
            if (entity && entity->getGeomExtents(extents) == cad::ErrorStatus::eOk) box.addExtents(extents);
        }
        definition.close();
        if (box.isEmpty()) return cad::ObjectId();
        return hatchAssetArea(drawing, reference, box, errors);
    });
}

cad::ObjectId CAsset::hatchAssetArea(cad::Document& drawing, cad::BlockReference& reference,
                                     const cad::Extents3d& box, CKorvaExceptions& errors) {
    return korvaWrap(kFile, "CAsset::hatchAssetArea", [&] {
        if (!hatchSettings_) return cad::ObjectId();
        cad::Database& db = drawing.database();
        // The rectangle is drawn invisibly in model space on the hatch layer, placed by the block
        // transform (which already accounts for the definition's origin); the hatch keeps it as
        // its boundary object.
        const cad::Point3d low = box.minPoint(), high = box.maxPoint();
        auto outline = std::make_unique<cad::Polyline>();
        outline->addVertexAt(0, {low.x, low.y});
        outline->addVertexAt(1, {high.x, low.y});
        outline->addVertexAt(2, {high.x, high.y});
        outline->addVertexAt(3, {low.x, high.y});
        outline->setClosed(true);
        outline->setVisible(false);
        CHatch::ensureLayerExists(db, hatchSettings_->validLayer(), hatchSettings_->getColour());
        outline->setLayer(db.recordId(cad::TableKind::Layer, hatchSettings_->validLayer()));
        KORVA_HOST_CHECK(outline->transformBy(reference.blockTransform()), std::string());
        const cad::ObjectId outlineId = CHatch::postToModelSpace(db, std::move(outline));

        // Loops are read from the drawing, so the hatch joins model space before it gets them.
        cad::ObjectId hatchId = CHatch::postToModelSpace(db, hatchSettings_->createHatchEntity(db));
        auto hatch = db.open<cad::Hatch>(hatchId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(hatch.openStatus(), std::string());
        KORVA_HOST_CHECK(hatch->appendLoop(cad::HatchLoop::kOutermost, std::vector<cad::ObjectId>{outlineId}),
                         std::string());
        const cad::ErrorStatus evaluation = CHatch::evaluateHatch(*hatch);
        hatchSettings_->collectDensityError(evaluation, "asset - " + getHandleText(), errors, kFile,
                                            "CAsset::hatchAssetArea");
        CAcadUtilities::moveEntityToBottom(*hatch);
        return hatchId;
    });
}
