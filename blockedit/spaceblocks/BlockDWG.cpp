#include "spaceblocks/BlockDWG.h"

#include <stdexcept>

#include "core/HostError.h"
#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "data/AssetIndex.h"
#include "data/Assets.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "logging/XMLUtilities.h"
#include "reports/Hatch.h"
#include "spaceblocks/KorvaAttribute.h"

namespace {

constexpr const char* kFile = __FILE__;

bool startsWith(const std::string& text, std::string_view key) {
    return text.compare(0, key.size(), key) == 0;
}
bool endsWith(const std::string& text, std::string_view tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Handle lists are "2F1A,2F1B,": each handle followed by a comma.
std::string handleListText(const std::vector<cad::Handle>& handles) {
    return CAcadUtilities::convertHandleArrayToString(handles);
}

}  // namespace

// ---- construction ----

CBlockDWG::CBlockDWG() {
    korvaWrap(kFile, "CBlockDWG::CBlockDWG", [&] { initialise(); });
}

CBlockDWG::CBlockDWG(const cad::BlockReference& reference, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::CBlockDWG", [&] {
        initialise();
        setHyperlinks(std::make_unique<CHyperlinks>(reference));

        objectId_ = reference.objectId();
        if (auto definition = db.open<cad::BlockTableRecord>(reference.blockTableRecord()))
            blockName_ = definition->name();
        layer_ = reference.layerName();
        colorIndex_ = reference.colorIndex();
        lineWeight_ = reference.lineWeight();
        setHandle(reference.handle());

        xDataAppName_ = "ADE";
        cad::XDataChain chain = reference.xData(xDataAppName_);
        if (chain.empty()) {
            xDataAppName_ = "AECXDATA";
            chain = reference.xData(xDataAppName_);
        }
        if (chain.empty())
            xDataAppName_ = kNoXData;
        else
            readXData(chain, db);

        attributes_ = std::make_unique<CAttributes>();
        attributes_->extractSpaceBlockAttributeValues(reference, CAcadUtilities::currentUcsMatrix());
        if (const CAttribute* nameAttribute = attributes_->getAtAttribute(CKorvaAttribute::kName)) {
            setCode(nameAttribute->getValue());
            setName(getCode());
        }
        if (getName().empty()) setName(blockName_);
    });
}

CBlockDWG::~CBlockDWG() = default;

void CBlockDWG::setHatchSettings(std::unique_ptr<CHatch> hatch) { hatchSettings_ = std::move(hatch); }

void CBlockDWG::setAssets(std::unique_ptr<CAssets> assets) { assets_ = std::move(assets); }

void CBlockDWG::initialise() {
    korvaWrap(kFile, "CBlockDWG::initialise", [&] {
        setName(std::string());
        setArea(0.0);
        setPerimeter(0.0);
        setRoomHeight(0.0);
        setVolume(0.0);
        setAreaType(kNotSet);
        setCostCentre(kNotSet);
        setDate(kNotSet);
        setDateLastMove(kNotSet);
        setDeptCharge(kNotSet);
        setSpecialReq(kNotSet);
        setTagType(kNotSet);
        setTotStaff(kNotSet);
        setTotWkStns(kNotSet);
        setUnits(-1);
        setPrecision(-1);
        xDataAppName_ = "ADE";
        hatchSettings_.reset();
        attributes_.reset();
        assets_.reset();
        zoomAfterApply_ = 0;
        zoomBorder_ = 0.0;
        setBlockType(kBlockDWG);
    });
}

// ---- XData record ----

void CBlockDWG::readXData(const cad::XDataChain& chain, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::readXData", [&] {
        using U = CAcadUtilities;
        for (const cad::XDataItem& item : chain) {
            if (item.code() != 1000) continue;
            const std::string& text = item.asText();
            if (startsWith(text, "AREA=")) {
                std::string value;
                if (endsWith(text, "sq.m.")) {
                    value = U::extractData(U::kAreaMetric, text);
                    setUnits(0);
                } else if (endsWith(text, "sq.ft.")) {
                    value = U::extractData(U::kAreaImperial, text);
                    setUnits(1);
                } else {
                    value = text.substr(5);
                }
                value.erase(value.find_last_not_of(' ') + 1);
                const auto point = value.find('.');
                const long position = point == std::string::npos ? -1 : static_cast<long>(point);
                const long precision = static_cast<long>(value.size()) - position - 1;
                setPrecision(precision < 0 ? 0 : static_cast<int>(precision));
                setArea(CUtilities::CStringToDouble(value));
            }
            if (startsWith(text, "PERIMETER=")) {
                std::string value;
                if (endsWith(text, "ft."))
                    value = U::extractData(U::kPerimeterImperial, text);
                else if (endsWith(text, "m."))
                    value = U::extractData(U::kPerimeterMetric, text);
                else
                    value = text.substr(10);
                setPerimeter(CUtilities::CStringToDouble(value));
            }
            if (startsWith(text, "TAGTYPE=")) setTagType(U::extractData(U::kTagType, text));
            if (startsWith(text, "AREA_TYPE=")) setAreaType(U::extractData(U::kAreaType, text));
            if (startsWith(text, "COST_CENTRE=")) setCostCentre(U::extractData(U::kCostCentre, text));
            if (startsWith(text, "DATE=")) setDate(U::extractData(U::kDate, text));
            if (startsWith(text, "DATE_L_MOVE=")) setDateLastMove(U::extractData(U::kDateLastMove, text));
            if (startsWith(text, "DEPT_CHARGE=")) setDeptCharge(U::extractData(U::kDeptCharge, text));
            if (startsWith(text, "ROOM_HEIGHT="))
                setRoomHeight(CUtilities::CStringToDouble(U::extractData(U::kRoomHeight, text)));
            if (startsWith(text, "SPECIAL_REQ=")) setSpecialReq(U::extractData(U::kSpecialReq, text));
            if (startsWith(text, "TOT_STAFF=")) setTotStaff(U::extractData(U::kTotStaff, text));
            if (startsWith(text, "TOT_WKSTNS=")) setTotWkStns(U::extractData(U::kTotWkStns, text));
            if (startsWith(text, "VOLUME="))
                setVolume(CUtilities::CStringToDouble(U::extractData(U::kVolume, text)));
            if (startsWith(text, "HANDLESTOMINUS=")) {
                const std::string list = U::extractData(U::kHandlesToMinus, text);
                if (!list.empty()) setHandlesToMinus(list, db);
            }
            if (startsWith(text, "HANDLESTOADD=")) {
                const std::string list = U::extractData(U::kHandlesToAdd, text);
                if (!list.empty()) setHandlesToAdd(list, db);
            }
        }
    });
}

std::string CBlockDWG::areaUnitText() const {
    return getUnits() == 1 ? "sq.ft." : "sq.m.";
}
std::string CBlockDWG::lengthUnitText() const {
    return getUnits() == 1 ? "ft." : "m.";
}
std::string CBlockDWG::volumeUnitText() const {
    return getUnits() == 1 ? "cu.ft." : "cu.m.";
}

cad::XDataChain CBlockDWG::buildXData() const {
    return korvaWrap(kFile, "CBlockDWG::buildXData", [&] {
        const int precision = getPrecision();
        auto number = [precision](double value) { return CUtilities::DoubleToCString(value, precision); };
        std::string name = getName();
        if (attributes_) {
            if (const CAttribute* nameAttribute = attributes_->getAtAttribute(CKorvaAttribute::kName))
                name = nameAttribute->getValue();
        }
        const std::string app = xDataAppName_ == kNoXData ? std::string("ADE") : xDataAppName_;
        return cad::XDataChain{
            cad::XDataItem::appName(app),
            cad::XDataItem::open(),
            cad::XDataItem::text("AREA=" + number(getArea()) + areaUnitText()),
            cad::XDataItem::text("PERIMETER=" + number(getPerimeter()) + lengthUnitText()),
            cad::XDataItem::text("NAME=" + name),
            cad::XDataItem::text("TAGTYPE=" + getTagType()),
            cad::XDataItem::text("AREA_TYPE=" + getAreaType()),
            cad::XDataItem::text("COST_CENTRE=" + getCostCentre()),
            cad::XDataItem::text("DATE=" + getDate()),
            cad::XDataItem::text("DATE_L_MOVE=" + getDateLastMove()),
            cad::XDataItem::text("DEPT_CHARGE=" + getDeptCharge()),
            cad::XDataItem::text("ROOM_HEIGHT=" + number(getRoomHeight()) + lengthUnitText()),
            cad::XDataItem::text("SPECIAL_REQ=" + getSpecialReq()),
            cad::XDataItem::text("TOT_STAFF=" + getTotStaff()),
            cad::XDataItem::text("TOT_WKSTNS=" + getTotWkStns()),
            cad::XDataItem::text("VOLUME=" + number(getVolume()) + volumeUnitText()),
            cad::XDataItem::text("HANDLESTOMINUS=" + getHandlesToMinusAsString()),
            cad::XDataItem::text("HANDLESTOADD=" + getHandlesToAddAsString()),
            cad::XDataItem::close(),
        };
    });
}

void CBlockDWG::writeXData(cad::Entity& entity) {
    korvaWrap(kFile, "CBlockDWG::writeXData", [&] {
        if (entity.className() != "AcDbBlockReference") return;
        if (xDataAppName_ == kNoXData) xDataAppName_ = "ADE";
        cad::Database* db = entity.database();
        if (!db) throw std::logic_error("the block reference is not in a drawing");
        KORVA_HOST_CHECK(db->registerApplication(xDataAppName_), std::string());
        KORVA_HOST_CHECK(entity.setXData(buildXData()), std::string());
    });
}

// ---- handles ----

void CBlockDWG::setHandle(cad::Handle handle) {
    korvaWrap(kFile, "CBlockDWG::setHandle", [&] {
        acDbHandle_ = handle;
        setHandleText(handle.toString());
    });
}

void CBlockDWG::setHandle(const std::string& handle) {
    korvaWrap(kFile, "CBlockDWG::setHandle", [&] {
        setHandleText(handle);
        acDbHandle_ = cad::Handle::parse(handle).value_or(cad::Handle());
    });
}

void CBlockDWG::setHandlesFromText(std::vector<cad::Handle>& list, const std::string& text,
                                   cad::Database& db) {
    list.clear();
    std::vector<cad::Handle> tokens;
    CAcadUtilities::convertHandlesStringToArray(text, tokens);
    for (const cad::Handle& handle : tokens) {
        cad::ObjectId id;
        if (db.getObjectId(id, handle) == cad::ErrorStatus::eOk) list.push_back(handle);
    }
}

void CBlockDWG::setHandlesFromIds(std::vector<cad::Handle>& list, const std::vector<cad::ObjectId>& ids,
                                  cad::Database& db) {
    list.clear();
    for (cad::ObjectId id : ids) {
        auto object = db.open(id);
        if (object && object->className() == "AcDbPolyline") list.push_back(object->handle());
    }
}

void CBlockDWG::setHandlesToAdd(const std::string& text, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::setHandlesToAdd", [&] { setHandlesFromText(handlesToAdd_, text, db); });
}

void CBlockDWG::setHandlesToMinus(const std::string& text, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::setHandlesToMinus", [&] { setHandlesFromText(handlesToMinus_, text, db); });
}

void CBlockDWG::setHandlesToAdd(const std::vector<cad::ObjectId>& ids, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::setHandlesToAdd", [&] { setHandlesFromIds(handlesToAdd_, ids, db); });
}

void CBlockDWG::setHandlesToMinus(const std::vector<cad::ObjectId>& ids, cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::setHandlesToMinus", [&] { setHandlesFromIds(handlesToMinus_, ids, db); });
}

std::string CBlockDWG::getHandlesToAddAsString() const {
    return korvaWrap(kFile, "CBlockDWG::getHandlesToAddAsString",
                     [&] { return handleListText(handlesToAdd_); });
}

std::string CBlockDWG::getHandlesToMinusAsString() const {
    return korvaWrap(kFile, "CBlockDWG::getHandlesToMinusAsString",
                     [&] { return handleListText(handlesToMinus_); });
}

namespace {
void checkIndex(std::size_t index, std::size_t length) {
    if (index >= length)
        throw std::invalid_argument("handle index " + std::to_string(index) + " outside a list of " +
                                    std::to_string(length));
}
}  // namespace

cad::Handle CBlockDWG::getHandleToAddAt(std::size_t index) const {
    return korvaWrap(kFile, "CBlockDWG::getHandleToAddAt", [&] {
        checkIndex(index, handlesToAdd_.size());
        return handlesToAdd_[index];
    });
}

cad::Handle CBlockDWG::getHandleToMinusAt(std::size_t index) const {
    return korvaWrap(kFile, "CBlockDWG::getHandleToMinusAt", [&] {
        checkIndex(index, handlesToMinus_.size());
        return handlesToMinus_[index];
    });
}

void CBlockDWG::removeHandleToAddAt(std::size_t index) {
    korvaWrap(kFile, "CBlockDWG::removeHandleToAddAt", [&] {
        checkIndex(index, handlesToAdd_.size());
        handlesToAdd_.erase(handlesToAdd_.begin() + static_cast<std::ptrdiff_t>(index));
    });
}

void CBlockDWG::removeHandleToMinusAt(std::size_t index) {
    korvaWrap(kFile, "CBlockDWG::removeHandleToMinusAt", [&] {
        checkIndex(index, handlesToMinus_.size());
        handlesToMinus_.erase(handlesToMinus_.begin() + static_cast<std::ptrdiff_t>(index));
    });
}

// ---- units, identity, writing back, copies ----

void CBlockDWG::convertUnits(int newUnits) {
    korvaWrap(kFile, "CBlockDWG::convertUnits", [&] {
        if (getUnits() == newUnits) return;
        constexpr double kSquareFeetPerSquareMetre = 10.7639104;
        constexpr double kFeetPerMetre = 3.2808399;
        if (newUnits != 0) {
            setArea(getArea() * kSquareFeetPerSquareMetre);
            setPerimeter(getPerimeter() * kFeetPerMetre);
            setUnits(1);
        } else {
            setArea(getArea() / kSquareFeetPerSquareMetre);
            setPerimeter(getPerimeter() / kFeetPerMetre);
            setUnits(0);
        }
    });
}

void CBlockDWG::updateBlockIdentifier(cad::Entity& entity) {
    korvaWrap(kFile, "CBlockDWG::updateBlockIdentifier", [&] {
        auto* reference = dynamic_cast<cad::BlockReference*>(&entity);
        if (!reference || !reference->database()) return;
        auto definition = reference->database()->open<cad::BlockTableRecord>(reference->blockTableRecord(),
                                                                             cad::OpenMode::ForWrite);
        if (!definition) return;
        if (definition->name() != blockName_)
            KORVA_HOST_CHECK(definition->setName(blockName_), std::string());
    });
}

void CBlockDWG::applyToDWG(cad::Document& drawing, CKorvaExceptions& errors) {
    korvaWrap(kFile, "CBlockDWG::applyToDWG", [&] {
        cad::AcAxDocLock lock(drawing);
        KORVA_HOST_CHECK(lock.lockStatus(), drawing.fileName());
        cad::Database& db = drawing.database();
        auto reference = db.open<cad::BlockReference>(objectId_, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(reference.openStatus(), drawing.fileName());
        updateBlockIdentifier(*reference);
        writeXData(*reference);
        if (attributes_) attributes_->applyToDWG(*reference, CAcadUtilities::currentUcsMatrix());
        const bool hasHyperlinks = getHyperlinks() != nullptr;
        if (hatchSettings_) {
            cad::ObjectId hatchId;
            hatchBlock(drawing, *reference, hatchId, errors);
            if (hasHyperlinks) hyperlinkHatch(db, hatchId);
        }
        if (hasHyperlinks) hyperlinkBlock(*reference, false);
        if (zoomAfterApply_) zoomToBlock(drawing, *reference);
        if (assets_) assets_->applyToDWG(drawing, errors);
    });
}

void CBlockDWG::copyInto(CBlockDWG& target) const {
    korvaWrap(kFile, "CBlockDWG::copyInto", [&] {
        target.objectId_ = objectId_;
        target.acDbHandle_ = acDbHandle_;
        target.colorIndex_ = colorIndex_;
        target.lineWeight_ = lineWeight_;
        target.blockName_ = blockName_;
        target.xDataAppName_ = xDataAppName_;
        target.handlesToMinus_ = handlesToMinus_;
        target.handlesToAdd_ = handlesToAdd_;
        copyBlockFieldsTo(target);
        if (attributes_) {
            auto copy = std::make_unique<CAttributes>();
            attributes_->copyKorvaAttributesTo(*copy);
            copy->setAreaPosition(attributes_->getAreaPosition());
            target.attributes_ = std::move(copy);
        }
        if (getHyperlinks()) {
            auto copy = std::make_unique<CHyperlinks>();
            getHyperlinks()->copyTo(*copy);
            target.setHyperlinks(std::move(copy));
        }
        if (hatchSettings_) target.hatchSettings_ = hatchSettings_->clone();
        if (assets_) {
            auto copy = std::make_unique<CAssets>();
            assets_->copyTo(*copy);
            target.assets_ = std::move(copy);
        }
    });
}

// ---- XML ----

pugi::xml_node CBlockDWG::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CBlockDWG::serialize", [&] {
        pugi::xml_node node = factory.createNode("korvaBlock", namespaceURI);
        auto child = [&](const char* name, const std::string& text) {
            CXMLUtilities::appendChild(node, factory.createNode(name, text, namespaceURI));
        };
        child("mbHandle", getHandle());
        if (!getName().empty()) child("mbName", getName());
        if (!getCode().empty()) child("mbCode", getCode());
        if (getArea() != 0.0) child("mbArea", CUtilities::DoubleToCString(getArea(), 2));
        if (attributes_) {
            if (const CAttribute* a = attributes_->getAtAttribute(CKorvaAttribute::kName))
                child("mbSwapName", a->getValue());
            if (const CAttribute* a = attributes_->getAtAttribute(CKorvaAttribute::kArea))
                child("mbSwapArea", a->getValue());
            if (const CAttribute* a = attributes_->getAtAttribute(CKorvaAttribute::kAux))
                child("mbSwapAux", a->getValue());
        }
        if (getHyperlinks() && getHyperlinks()->getCount() > 0)
            CXMLUtilities::appendChild(node, getHyperlinks()->serialize(factory, namespaceURI));
        if (assets_ && assets_->getCount() > 0)
            CXMLUtilities::appendChild(node, assets_->serialize(factory, namespaceURI));
        return node;
    });
}

void CBlockDWG::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CBlockDWG::deSerialize", [&] {
        auto swap = [&](int kind, const std::string& text) {
            if (!attributes_) attributes_ = std::make_unique<CAttributes>();
            attributes_->add(std::make_unique<CKorvaAttribute>(kind, text));
        };
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = child.text().get();
            if (name == "mbHandle")
                setHandle(text);
            else if (name == "mbName")
                setName(text);
            else if (name == "mbCode")
                setCode(text);
            else if (name == "mbArea")
                setArea(CUtilities::CStringToDouble(text));
            else if (name == "mbSwapName")
                swap(CKorvaAttribute::kName, text);
            else if (name == "mbSwapArea")
                swap(CKorvaAttribute::kArea, text);
            else if (name == "mbSwapAux")
                swap(CKorvaAttribute::kAux, text);
            else if (name == "hyperlinks") {
                if (!getHyperlinks()) setHyperlinks(std::make_unique<CHyperlinks>());
                getHyperlinks()->deSerialize(child);
            } else if (name == "assets") {
                if (!assets_) assets_ = std::make_unique<CAssets>();
                assets_->deSerialize(child, hatchSettings_.get());
            }
        }
    });
}

// ---- attributes ----

void CBlockDWG::updateAttributes(cad::Database& db, const cad::Matrix3d& ucsToWcs,
                                 const cad::Point3d* anchor) {
    korvaWrap(kFile, "CBlockDWG::updateAttributes", [&] {
        if (attributes_) attributes_->applyToDWG(db, objectId_, ucsToWcs, anchor);
    });
}

void CBlockDWG::copyFormatting(CBlockDWG& target) const {
    korvaWrap(kFile, "CBlockDWG::copyFormatting", [&] {
        target.setArea(getArea());
        if (hatchSettings_) {
            if (!target.hatchSettings_) target.hatchSettings_ = std::make_unique<CHatch>();
            hatchSettings_->copyTo(*target.hatchSettings_);
        }
        if (getHyperlinks()) {
            auto copy = std::make_unique<CHyperlinks>();
            getHyperlinks()->copyTo(*copy);
            target.setHyperlinks(std::move(copy));
        }
        if (!attributes_) return;
        if (!target.attributes_) target.attributes_ = std::make_unique<CAttributes>();
        CAttributes& to = *target.attributes_;
        to.setTextHeight(attributes_->getTextHeight());
        to.setWidthFactor(attributes_->getWidthFactor());
        to.setRotation(attributes_->getRotation());
        for (std::size_t i = 0; i < attributes_->getCount(); ++i) {
            const auto* source = dynamic_cast<const CKorvaAttribute*>(&attributes_->getAt(i));
            if (!source) continue;
            if (CAttribute* existing = to.getAtAttribute(source->getKind()))
                existing->setValue(source->getValue());
            else
                to.add(source->clone());
        }
    });
}

// ---- kinds ----

CBlockDWGRoom::CBlockDWGRoom() {
    setBlockType(kBlockDWGRoom);
    setBlockName("ROOM-");
}
CBlockDWGRoom::CBlockDWGRoom(const cad::BlockReference& reference, cad::Database& db)
    : CBlockDWG(reference, db) {
    setBlockType(kBlockDWGRoom);
}
CBlockDWGRoom::CBlockDWGRoom(const cad::BlockReference& reference, cad::Database& db, bool withAssets,
                             const CAssetIndex* index)
    : CBlockDWG(reference, db) {
    setBlockType(kBlockDWGRoom);
    if (!withAssets) return;
    korvaWrap(kFile, "CBlockDWGRoom::CBlockDWGRoom", [&] {
        auto assets = std::make_unique<CAssets>();
        if (auto outline = db.open<cad::Polyline>(CAcadUtilities::getOutlineId(reference))) {
            std::unique_ptr<CAssetIndex> own;
            if (!index) index = (own = std::make_unique<CAssetIndex>(db)).get();
            assets->getPolylineAssets(reference.position(), *outline, db, *index);
        }
        setAssets(std::move(assets));
    });
}

CBlockDWGFloor::CBlockDWGFloor() {
    setBlockType(kBlockDWGFloor);
    setBlockName("ROOM-GROSS_AREA");
}
CBlockDWGFloor::CBlockDWGFloor(const cad::BlockReference& reference, cad::Database& db)
    : CBlockDWG(reference, db) {
    setBlockType(kBlockDWGFloor);
}

CBlockDWGBuilding::CBlockDWGBuilding() {
    setBlockType(kBlockDWGBuilding);
    setBlockName("ROOM-");
}
CBlockDWGBuilding::CBlockDWGBuilding(const cad::BlockReference& reference, cad::Database& db)
    : CBlockDWG(reference, db) {
    setBlockType(kBlockDWGBuilding);
}

CBlockDWGSite::CBlockDWGSite() {
    setBlockType(kBlockDWGSite);
    setBlockName("ROOM-GROSS_AREA");
}
CBlockDWGSite::CBlockDWGSite(const cad::BlockReference& reference, cad::Database& db)
    : CBlockDWG(reference, db) {
    setBlockType(kBlockDWGSite);
}

// ---- area and perimeter ----

double CBlockDWG::walkList(std::vector<cad::Handle>& list, cad::Database& db, Measure measure) {
    const int linearUnits = db.lunits();
    const bool imperial = getUnits() != 0;
    double sum = 0.0;
    std::size_t index = 0;
    while (index < list.size()) {
        cad::ObjectId id;
        // Erased objects keep their ids: opening them is what tells a dropped polyline.
        if (db.getObjectId(id, list[index], true) != cad::ErrorStatus::eOk) {
            ++index;
            continue;
        }
        auto object = db.open(id);
        if (!object) {
            if (object.openStatus() == cad::ErrorStatus::eWasErased)
                list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
            else
                ++index;
            continue;
        }
        if (const auto* polyline = dynamic_cast<const cad::Polyline*>(object.get())) {
            sum += measure == Measure::Area
                       ? CAcadUtilities::calculatePolylineArea(*polyline, linearUnits, imperial)
                       : CAcadUtilities::calculatePolylinePerimeter(*polyline, linearUnits, imperial);
        }
        ++index;
    }
    return sum;
}

double CBlockDWG::calcAddArea(cad::Database& db) {
    return korvaWrap(kFile, "CBlockDWG::calcAddArea",
                     [&] { return walkList(handlesToAdd_, db, Measure::Area); });
}

double CBlockDWG::calcSubArea(cad::Database& db) {
    return korvaWrap(kFile, "CBlockDWG::calcSubArea",
                     [&] { return walkList(handlesToMinus_, db, Measure::Area); });
}

double CBlockDWG::calcAddAreaPerimeters(cad::Database& db) {
    return korvaWrap(kFile, "CBlockDWG::calcAddAreaPerimeters",
                     [&] { return walkList(handlesToAdd_, db, Measure::Perimeter); });
}

double CBlockDWG::calcSubAreaPerimeters(cad::Database& db) {
    return korvaWrap(kFile, "CBlockDWG::calcSubAreaPerimeters",
                     [&] { return walkList(handlesToMinus_, db, Measure::Perimeter); });
}

void CBlockDWG::recalculateArea(cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::recalculateArea", [&] {
        double blockArea = 0.0;
        {
            auto object = db.open(objectId_);
            if (!object) return;
            if (const auto* reference = dynamic_cast<const cad::BlockReference*>(object.get())) {
                if (auto outline = db.open<cad::Polyline>(CAcadUtilities::getOutlineId(*reference)))
                    blockArea = CAcadUtilities::recalculateBlockArea(*reference, *outline, db.lunits(),
                                                                     getUnits() != 0);
            }
        }
        setArea(CUtilities::roundDouble(blockArea - calcSubArea(db) + calcAddArea(db), getPrecision()));
    });
}

void CBlockDWG::recalculatePerimeter(cad::Database& db) {
    korvaWrap(kFile, "CBlockDWG::recalculatePerimeter", [&] {
        double blockPerimeter = 0.0;
        {
            auto object = db.open(objectId_);
            if (!object) return;
            if (const auto* reference = dynamic_cast<const cad::BlockReference*>(object.get())) {
                if (auto outline = db.open<cad::Polyline>(CAcadUtilities::getOutlineId(*reference)))
                    blockPerimeter = CAcadUtilities::recalculateBlockPerimeter(*reference, *outline,
                                                                               db.lunits(), getUnits() != 0);
            }
        }
        setPerimeter(calcSubAreaPerimeters(db) + blockPerimeter + calcAddAreaPerimeters(db));
    });
}

int CBlockDWG::convertHandlesToObjectIds(const std::vector<cad::Handle>& handles, cad::Database& db,
                                         std::vector<cad::ObjectId>& ids) {
    return korvaWrap(kFile, "CBlockDWG::convertHandlesToObjectIds", [&] {
        for (const cad::Handle& handle : handles) {
            cad::ObjectId id;
            db.getObjectId(id, handle);
            ids.push_back(id);
        }
        return 0;
    });
}

void CBlockDWG::highlightList(std::vector<cad::Handle>& list, cad::Database& db, bool highlight, int colour) {
    std::size_t index = 0;
    while (index < list.size()) {
        cad::ObjectId id;
        const cad::ErrorStatus lookup = db.getObjectId(id, list[index]);
        if (lookup == cad::ErrorStatus::eWasErased) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
            continue;
        }
        if (lookup == cad::ErrorStatus::eOk) {
            if (auto entity = db.open<cad::Entity>(id, cad::OpenMode::ForWrite)) {
                entity->setColorIndex(highlight ? colour : colorIndex_);
                entity->setLineWeight(highlight ? 100 : lineWeight_);
            }
        }
        ++index;
    }
}

void CBlockDWG::highlightAreasAdded(cad::Document& drawing, bool highlight, bool announce) {
    korvaWrap(kFile, "CBlockDWG::highlightAreasAdded", [&] {
        cad::AcAxDocLock lock(drawing);
        if (lock.lockStatus() != cad::ErrorStatus::eOk) return;
        cad::Database& db = drawing.database();
        if (announce)
            cad::acutPrintf("\nThere are %i area(s) added to this block\n",
                            static_cast<int>(handlesToAdd_.size()));
        highlightList(handlesToAdd_, db, highlight, 3);
    });
}

void CBlockDWG::highlightAreasSubtracted(cad::Document& drawing, bool highlight, bool announce) {
    korvaWrap(kFile, "CBlockDWG::highlightAreasSubtracted", [&] {
        cad::AcAxDocLock lock(drawing);
        if (lock.lockStatus() != cad::ErrorStatus::eOk) return;
        cad::Database& db = drawing.database();
        if (announce)
            cad::acutPrintf("\nThere are %i area(s) subtracted from this block\n",
                            static_cast<int>(handlesToMinus_.size()));
        highlightList(handlesToMinus_, db, highlight, 1);
    });
}
