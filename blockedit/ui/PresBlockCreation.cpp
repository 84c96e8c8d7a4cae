#include "ui/PresBlockCreation.h"

#include <cmath>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "reports/Layer.h"
#include "spaceblocks/Blocks.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/KorvaAttribute.h"
#include "reports/DrawingLockScope.h"

using cad::ControlKind;

namespace {

constexpr const char* kFile = "PresBlockCreation";
constexpr double kPi = 3.141592653589793;

std::string statusName(cad::ErrorStatus es) { return CUtilities::IntToCString(static_cast<int>(es)); }

struct AttributeDefinitionRow {
    const char* tag;
    const char* prompt;
    const char* defaultText;
    const char* layer;
    int kind;
};

// In the order they are appended to a new definition.
constexpr AttributeDefinitionRow kDefinitions[] = {
    {"AREA", "Enter Area", "DEFAULT AREA", "ATT-AREA", CKorvaAttribute::kArea},
    {"NAME", "Enter Name", "DEFAULT NAME", "ATT-NAME", CKorvaAttribute::kName},
    {"AUX", "Enter Auxillary Value", "DEFAULT AUX", "ATT-AUX", CKorvaAttribute::kAux},
};

}  // namespace

CPresBlockCreation::CPresBlockCreation() : cad::Dialog(IDD, "Korva Block Creator") {
    addControl(IDC_NAME, ControlKind::Edit);
    addControl(IDC_TEXT_SIZE, ControlKind::Edit, "Text Size").onChange = [this] { onNumberEdited(IDC_TEXT_SIZE); };
    addControl(IDC_SCALE, ControlKind::Edit, "Scale").onChange = [this] { onNumberEdited(IDC_SCALE); };
    addControl(IDC_ROTATION, ControlKind::Edit, "Rotation").onChange = [this] { onNumberEdited(IDC_ROTATION); };
    addControl(IDC_START, ControlKind::Button, "Start").onClick = [this] { onStart(); };
    addControl(IDC_CLOSE, ControlKind::Button, "Close");
    addControl(IDC_SUB_AREA, ControlKind::Button, "Sub Area").show(false);
    addControl(IDC_ADD_AREA, ControlKind::Button, "Add Area").show(false);
}

// ---- naming ----

std::string CPresBlockCreation::splitTrailingDigits(const std::string& name, std::string& prefix) {
    std::size_t start = name.size();
    while (start > 0) {
        const char c = name[start - 1];
        if (c < '0' || c > '9' || c == '.') break;
        --start;
    }
    prefix = name.substr(0, start);
    return name.substr(start);
}

std::string CPresBlockCreation::incrementName(const std::string& name, int increment) {
    return korvaWrap(kFile, "CPresBlockCreation::incrementName", [&] {
        std::string prefix;
        const std::string digits = splitTrailingDigits(name, prefix);
        std::int64_t next = 1;
        if (!digits.empty()) next = CUtilities::CStringToInt64(digits) + increment;
        std::string text = std::to_string(next);
        if (text.size() < digits.size())
            text = CUtilities::padding(static_cast<int>(digits.size() - text.size()), "0") + text;
        return prefix + text;
    });
}

void CPresBlockCreation::calcNextBlockIdentifier() {
    korvaWrap(kFile, "CPresBlockCreation::calcNextBlockIdentifier", [&] {
        nextIdentifier_ = 0;
        if (drawing_.getDocument() == nullptr) return;
        cad::Database& db = drawing_.database();
        auto table = db.open<cad::SymbolTable>(db.blockTableId());
        if (!table) return;
        long highest = 0;
        for (cad::ObjectId id : table->liveRecordIds()) {
            auto block = db.open<cad::BlockTableRecord>(id);
            if (!block || block->name().size() < 5) continue;
            std::string head = block->name().substr(0, 5);
            for (char& c : head) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            if (head != kBlockPrefix) continue;
            const long number = CUtilities::CStringToLong(block->name().substr(5));
            if (number > highest) highest = number;
        }
        nextIdentifier_ = highest + 1;
    });
}

std::string CPresBlockCreation::getHighestExistingBlockName() {
    return korvaWrap(kFile, "CPresBlockCreation::getHighestExistingBlockName", [&] {
        std::string highestName;
        if (drawing_.getDocument() == nullptr) return highestName;
        CBlocks blocks;
        blocks.getKorvaDWGBlocks_SS(*drawing_.getDocument(), false, CBlocks::kLevelFloor);
        std::int64_t highest = 0;
        bool any = false;
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            CBlock& block = blocks.getAt(i);
            if (block.getBlockType() != CBlock::kBlockDWGRoom) continue;
            const std::string& name = block.getName();
            existingNames_.push_back(name);
            std::string prefix;
            const std::string digits = splitTrailingDigits(name, prefix);
            const std::int64_t number = digits.empty() ? 0 : CUtilities::CStringToInt64(digits);
            if (!any || number >= highest) {
                highest = number;
                highestName = name;
                any = true;
            }
        }
        return highestName;
    });
}

void CPresBlockCreation::calcNextBlockName() {
    korvaWrap(kFile, "CPresBlockCreation::calcNextBlockName", [&] {
        std::string highest = getHighestExistingBlockName();
        if (highest.empty()) highest = "Room ";
        nextName_ = incrementName(highest, preferences_.getInc());
    });
}

// ---- the dialog ----

bool CPresBlockCreation::onInitDialog() {
    // Without a drawing to work on the dialog does not come up; the failure has been shown.
    return korvaTopLevel(kFile, "CPresBlockCreation::OnInitDialog", [this] {
        preferences_.loadPreferences();
        drawing_.bindToActiveDocument();
        calcNextBlockIdentifier();
        calcNextBlockName();
        setItemText(IDC_NAME, nextName_);
        setItemText(IDC_TEXT_SIZE, CUtilities::DoubleToCString(preferences_.getTextSize(), 2));
        setItemText(IDC_SCALE, CUtilities::DoubleToCString(preferences_.getTextScale(), 2));
        setItemText(IDC_ROTATION, CUtilities::DoubleToCString(preferences_.getTextRotation(), 2));
    });
}

void CPresBlockCreation::onNumberEdited(int id) {
    korvaTopLevel(kFile, "CPresBlockCreation::OnEnChange", [&] {
        std::string text = itemText(id);
        const std::string typed = text;
        CUtilities::makeNumeric(text);
        if (text != typed) setItemText(id, text);
        const double value = CUtilities::CStringToDouble(text);
        if (id == IDC_TEXT_SIZE) preferences_.setTextSize(value);
        if (id == IDC_SCALE) preferences_.setTextScale(value);
        if (id == IDC_ROTATION) preferences_.setTextRotation(value);
        preferences_.savePreferences();
    });
}

void CPresBlockCreation::readFields() {
    nextName_ = itemText(IDC_NAME);
    preferences_.setTextSize(CUtilities::CStringToDouble(itemText(IDC_TEXT_SIZE)));
    preferences_.setTextScale(CUtilities::CStringToDouble(itemText(IDC_SCALE)));
    preferences_.setTextRotation(CUtilities::CStringToDouble(itemText(IDC_ROTATION)));
}

void CPresBlockCreation::enableButtons(bool on) {
    item(IDC_START).enable(on);
    item(IDC_CLOSE).enable(on);
}

void CPresBlockCreation::onStart() {
    korvaTopLevel(kFile, "CPresBlockCreation::OnBnClickedStart", [this] {
        readFields();
        enableButtons(false);
        cad::acutPrintf("\nBlock Creation Session Started\n");
        if (drawing_.lock() == cad::ErrorStatus::eOk) {
            // The lock is released by the round that sees the cancel, or here when a failure
            // ends the session early.
            try {
                while (sessionRound()) {
                }
            } catch (...) {
                if (drawing_.isLocked()) drawing_.unlock(true);
                cad::acutPrintf("\nBlock Creation Session Ended\n");
                enableButtons(true);
                throw;
            }
        }
        cad::acutPrintf("\nBlock Creation Session Ended\n");
        // The editor's own prompt has nothing pending here: the session asked through it and the
        // last prompt was answered by the cancel.
        enableButtons(true);
        activate();
    });
}

bool CPresBlockCreation::sessionRound() {
    item(IDC_TEXT_SIZE).enable(true);
    item(IDC_ROTATION).enable(true);
    cad::ObjectId polylineId;
    if (CAcadUtilities::selectObjectId(polylineId, "\nPlease select a polyline:\n", "AcDbPolyline") != 0) {
        drawing_.unlock(true);
        return false;
    }
    {
        // Opened for writing: that is what a locked layer refuses.
        auto polyline = drawing_.database().open<cad::Polyline>(polylineId, cad::OpenMode::ForWrite);
        if (polyline.openStatus() == cad::ErrorStatus::eOnLockedLayer) {
            cad::acutPrintf("\n1Polyline On Locked Layer - Block Creation Failed\n");
            return true;
        }
        if (!polyline) {
            cad::acutPrintf("\nUnable get Polyline - Error %s - Block Creation Failed\n",
                            statusName(polyline.openStatus()));
            return true;
        }
        if (!polyline->isClosed()) {
            cad::acutPrintf("\nInvalid Selection - Polyline is not closed\n\n");
            return true;
        }
    }
    readFields();
    if (!(preferences_.getTextSize() > 0)) {
        preferences_.setTextSize(1.0);
        setItemText(IDC_TEXT_SIZE, CUtilities::DoubleToCString(1.0, 2));
    }
    item(IDC_TEXT_SIZE).enable(false);
    item(IDC_ROTATION).enable(false);
    createBlock(polylineId, preferences_.getUnits(), preferences_.getTextSize(), preferences_.getTextScale(),
                preferences_.getTextRotation(), preferences_.getPrecision());
    calcNextBlockIdentifier();
    calcNextBlockName();
    setItemText(IDC_NAME, nextName_);
    return true;
}

// ---- creating one block ----

bool CPresBlockCreation::askAttributePoint(cad::Point3d& point) {
    cad::acutPrintf("Select Name and Area Text Position:\n");
    return cad::acedGetPoint("\nEnter Attribute points: ", point) == cad::RTNORM;
}

bool CPresBlockCreation::measureOutline(cad::Database& db, cad::ObjectId polylineId, int units, int,
                                        double& area, double& perimeter) {
    auto object = db.open<cad::Entity>(polylineId, cad::OpenMode::ForWrite);
    if (object.openStatus() == cad::ErrorStatus::eOnLockedLayer) {
        cad::acutPrintf("\nPolyline On Locked Layer - Block Creation Failed\n");
        return false;
    }
    if (!object) {
        cad::acutPrintf("\nUnable get Polyline - Error %s - Block Creation Failed\n", statusName(object.openStatus()));
        return false;
    }
    auto* polyline = dynamic_cast<cad::Polyline*>(object.get());
    if (polyline == nullptr || object->className() != "AcDbPolyline") {
        cad::acutPrintf("\nInvalid Selection\n\n");
        return false;
    }
    polyline->setClosed(true);
    area = CAcadUtilities::calculatePolylineArea(*polyline, db.lunits(), units == 1);
    perimeter = CAcadUtilities::calculatePolylinePerimeter(*polyline, db.lunits(), units == 1);
    return true;
}

void CPresBlockCreation::addSpaceAttributes(CBlockDWG& record, const std::string& areaText, double textHeight,
                                            double widthFactor, double rotation) {
    auto attributes = std::make_unique<CAttributes>();
    attributes->setTextHeight(textHeight);
    attributes->setWidthFactor(widthFactor);
    attributes->setRotation(rotation);
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kName, record.getName()));
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kArea, areaText + record.areaUnitText()));
    attributes->add(std::make_unique<CKorvaAttribute>(CKorvaAttribute::kAux, " "));
    record.setAttributes(std::move(attributes));
}

void CPresBlockCreation::createBlock(cad::ObjectId polylineId, int units, double textHeight, double widthFactor,
                                     double rotation, int precision) {
    korvaWrap(kFile, "CPresBlockCreation::createBlock", [&] {
        cad::Point3d point;
        if (!askAttributePoint(point)) return;
        double area = 0.0;
        double perimeter = 0.0;
        if (!measureOutline(drawing_.database(), polylineId, units, precision, area, perimeter)) return;

        CBlockDWGRoom record;
        record.setUnits(units);
        record.setPrecision(precision);
        record.setName(nextName_);
        record.setArea(area);
        record.setPerimeter(perimeter);
        record.setBlockName(kBlockPrefix + CUtilities::LongToCString(nextIdentifier_));
        addSpaceAttributes(record, CUtilities::DoubleToCString(area, precision), textHeight, widthFactor, rotation);

        for (const std::string& existing : existingNames_) {
            if (existing != nextName_) continue;
            const auto answer = cad::messageBox(
                "Duplicate Space Name",
                "Room Name already exists in the drawing.\n\nDo you want another space of the same name creating?",
                cad::MessageBoxIcon::Question, cad::MessageBoxButtons::YesNo);
            if (answer != cad::MessageBoxResult::Yes) return;
            break;
        }

        const int status = createBlockFromRecord(drawing_, record, polylineId, point);
        if (status == 0) {
            cad::acutPrintf("Block Created Successfully\n");
        } else if (status == static_cast<int>(cad::ErrorStatus::eDuplicateRecordName)) {
            cad::acutPrintf("Block Already Exists\n");
        } else {
            cad::acutPrintf("Block Creation Failed\n");
        }
    });
}

int CPresBlockCreation::createBlockFromRecord(CAcadDrawing& drawing, CBlockDWG& record, cad::ObjectId polylineId,
                                              const cad::Point3d& point) {
    return korvaWrap(kFile, "CPresBlockCreation::createBlockFromRecord", [&]() -> int {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return static_cast<int>(cad::ErrorStatus::eLockViolation);
        cad::Database& db = drawing.database();
        const CAttributes* attributes = record.getAttributes();
        const double height = attributes ? attributes->getTextHeight() : 250.0;
        const double widthFactor = attributes ? attributes->getWidthFactor() : 1.0;
        const double radians = (attributes ? attributes->getRotation() : 0.0) * kPi / 180.0;

        for (const auto& row : kDefinitions) CLayer::ensureLayerExists(drawing, row.layer);

        // The definition: its origin stands for the picked point, so the outline is moved by the
        // point's offset and the reference at the point shows it where it was drawn.
        cad::ObjectId blockId;
        {
            auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
            if (!table) return static_cast<int>(table.openStatus());
            const cad::ErrorStatus es = table->add(std::make_unique<cad::BlockTableRecord>(record.getBlockName()), &blockId);
            if (es != cad::ErrorStatus::eOk) return static_cast<int>(es);
        }
        cad::IdMapping mapping;
        if (auto es = db.deepCloneObjects({polylineId}, blockId, mapping); es != cad::ErrorStatus::eOk)
            return static_cast<int>(es);
        {
            auto outline = db.open<cad::Entity>(mapping.find(polylineId), cad::OpenMode::ForWrite);
            if (!outline) return static_cast<int>(outline.openStatus());
            outline->transformBy(cad::Matrix3d::translation(cad::Point3d::origin() - point));
        }
        if (auto es = db.erase(polylineId); es != cad::ErrorStatus::eOk) return static_cast<int>(es);

        const double dx = height * std::sin(radians) * 1.5;
        const double dy = height * std::cos(radians) * 1.5;
        {
            auto block = db.open<cad::BlockTableRecord>(blockId, cad::OpenMode::ForWrite);
            if (!block) return static_cast<int>(block.openStatus());
            block->setBlockFlags(block->blockFlags() | 2);
            for (const auto& row : kDefinitions) {
                auto definition = std::make_unique<cad::AttributeDefinition>();
                definition->setDatabaseDefaults();
                definition->setLayer(db.recordId(cad::TableKind::Layer, row.layer));
                definition->setTag(row.tag);
                definition->setPrompt(row.prompt);
                definition->setTextString(row.defaultText);
                definition->setFieldLength(25);
                definition->setHeight(height);
                definition->setWidthFactor(widthFactor);
                definition->setRotation(radians);
                definition->setNormal(cad::Vector3d(0, 0, 1));
                cad::Point3d at = cad::Point3d::origin();
                if (row.kind == CKorvaAttribute::kName) at = cad::Point3d(-dx, dy, 0);
                if (row.kind == CKorvaAttribute::kAux) at = cad::Point3d(dx, -dy, 0);
                definition->setPosition(at);
                if (auto es = block->appendEntity(std::move(definition)); es != cad::ErrorStatus::eOk)
                    return static_cast<int>(es);
            }
        }

        cad::ObjectId referenceId;
        {
            auto model = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
            if (!model) return static_cast<int>(model.openStatus());
            auto reference = std::make_unique<cad::BlockReference>(point, blockId);
            reference->setDatabaseDefaults();
            if (auto es = model->appendEntity(std::move(reference), &referenceId); es != cad::ErrorStatus::eOk)
                return static_cast<int>(es);
        }
        auto reference = db.open<cad::BlockReference>(referenceId, cad::OpenMode::ForWrite);
        if (!reference) return static_cast<int>(reference.openStatus());
        const cad::Matrix3d transform = reference->blockTransform();
        std::vector<cad::ObjectId> definitionIds;
        {
            auto block = db.open<cad::BlockTableRecord>(blockId);
            definitionIds = block->entityIds();
        }
        for (cad::ObjectId id : definitionIds) {
            auto definition = db.open<cad::AttributeDefinition>(id);
            if (!definition || definition->isConstant()) continue;
            auto attribute = std::make_unique<cad::Attribute>();
            attribute->setAttributeFromBlock(*definition, transform);
            attribute->setPropertiesFrom(*reference);
            const int kind = definition->tag() == "NAME" ? CKorvaAttribute::kName
                             : definition->tag() == "AREA" ? CKorvaAttribute::kArea
                                                           : CKorvaAttribute::kAux;
            if (attributes) {
                if (const CAttribute* value = attributes->getAtAttribute(kind)) attribute->setTextString(value->getValue());
            }
            if (auto es = reference->appendAttribute(std::move(attribute)); es != cad::ErrorStatus::eOk)
                return static_cast<int>(es);
        }
        record.writeXData(*reference);
        record.setObjectId(referenceId);
        record.setHandle(reference->handle());
        return 0;
    });
}
