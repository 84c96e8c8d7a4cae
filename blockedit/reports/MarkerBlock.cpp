#include "reports/MarkerBlock.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"
#include "reports/Layer.h"
#include "reports/DrawingLockScope.h"

namespace {

constexpr const char* kFile = "MarkerBlock";

}  // namespace

CMarkerBlock::CMarkerBlock(const cad::BlockReference& reference, cad::Database& db) : CBlockDWG(reference, db) {
    korvaWrap(kFile, "CMarkerBlock::CMarkerBlock", [&] {
        // The rotation as the user coordinate system measures it.
        const cad::Matrix3d toUcs = CAcadUtilities::currentUcsMatrix().inverse();
        const cad::Vector3d x = toUcs.transformVector(reference.blockTransform().transformVector(cad::Vector3d(1, 0, 0)));
        rotation_ = std::atan2(x.y, x.x);
        cad::acdbWcs2Ucs(reference.position(), position_);
    });
}

std::string CMarkerBlock::unitsWord() const { return getUnits() == 1 ? "sq.ft." : "sq.m."; }

std::string CMarkerBlock::attributeValue(const cad::BlockReference& reference, cad::Database& db,
                                         const std::string& tag) {
    const cad::ObjectId id = reference.attributeId(tag);
    if (id.isNull()) return {};
    auto attribute = db.open<cad::Attribute>(id);
    return attribute ? attribute->textString() : std::string();
}

std::unique_ptr<cad::AttributeDefinition> CMarkerBlock::defineAttribute(const cad::Point3d& position,
                                                                         const cad::Vector3d& normal, double height,
                                                                         double rotation, const std::string& tag,
                                                                         const std::string& prompt,
                                                                         const std::string& text, cad::ObjectId layer) {
    auto definition = std::make_unique<cad::AttributeDefinition>();
    definition->setPosition(position);
    definition->setNormal(normal);
    definition->setHeight(height);
    definition->setRotation(rotation);
    definition->setWidthFactor(1.0);
    definition->setTag(tag);
    definition->setPrompt(prompt);
    definition->setTextString(text);
    definition->setFieldLength(static_cast<int>(text.size()) + 1);
    definition->setLayer(layer);
    return definition;
}

std::unique_ptr<cad::Attribute> CMarkerBlock::createAttribute(const cad::AttributeDefinition& definition,
                                                              const cad::BlockReference& reference) {
    auto attribute = std::make_unique<cad::Attribute>();
    attribute->setAttributeFromBlock(definition, reference.blockTransform());
    attribute->setLayer(reference.layerId());
    return attribute;
}

int CMarkerBlock::createMarker(CAcadDrawing& drawing, cad::ObjectId entityId, const std::string& blockName,
                               const std::string& layer, const cad::Point3d& basePoint, double textSize,
                               double rotation, const std::vector<AttributeRow>& rows) {
    return korvaWrap(kFile, "CMarkerBlock::createMarker", [&]() -> int {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return static_cast<int>(cad::ErrorStatus::eLockViolation);
        cad::Database& db = drawing.database();
        CLayer::ensureLayerExists(drawing, layer);
        const cad::ObjectId layerId = db.recordId(cad::TableKind::Layer, layer);
        const cad::Vector3d normal = CAcadUtilities::userZAxis();

        cad::ObjectId blockId;
        {
            auto table = db.open<cad::SymbolTable>(db.blockTableId(), cad::OpenMode::ForWrite);
            if (!table) return static_cast<int>(table.openStatus());
            if (auto es = table->add(std::make_unique<cad::BlockTableRecord>(blockName), &blockId);
                es != cad::ErrorStatus::eOk)
                return static_cast<int>(es);
        }
        // The picked entity moves into the definition, its base point at the origin.
        cad::IdMapping mapping;
        if (auto es = db.deepCloneObjects({entityId}, blockId, mapping); es != cad::ErrorStatus::eOk)
            return static_cast<int>(es);
        {
            auto moved = db.open<cad::Entity>(mapping.find(entityId), cad::OpenMode::ForWrite);
            if (!moved) return static_cast<int>(moved.openStatus());
            moved->transformBy(cad::Matrix3d::translation(cad::Point3d::origin() - basePoint));
            moved->setLayer(layerId);
        }
        if (auto es = db.erase(entityId); es != cad::ErrorStatus::eOk) return static_cast<int>(es);
        {
            auto block = db.open<cad::BlockTableRecord>(blockId, cad::OpenMode::ForWrite);
            block->setBlockFlags(block->blockFlags() | 2);
            double y = 0.0;
            for (const AttributeRow& row : rows) {
                y -= textSize;
                auto definition =
                    defineAttribute(cad::Point3d(0, y, 0), normal, textSize, 0.0, row.tag, row.prompt, row.text, layerId);
                if (auto es = block->appendEntity(std::move(definition)); es != cad::ErrorStatus::eOk)
                    return static_cast<int>(es);
            }
        }
        cad::ObjectId referenceId;
        {
            auto model = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
            auto reference = std::make_unique<cad::BlockReference>(basePoint, blockId);
            reference->setDatabaseDefaults();
            reference->setRotation(rotation);
            reference->setNormal(normal);
            reference->setLayer(layerId);
            if (auto es = model->appendEntity(std::move(reference), &referenceId); es != cad::ErrorStatus::eOk)
                return static_cast<int>(es);
        }
        {
            auto reference = db.open<cad::BlockReference>(referenceId, cad::OpenMode::ForWrite);
            std::vector<cad::ObjectId> ids;
            {
                auto block = db.open<cad::BlockTableRecord>(blockId);
                ids = block->entityIds();
            }
            for (cad::ObjectId id : ids) {
                auto definition = db.open<cad::AttributeDefinition>(id);
                if (!definition) continue;
                if (auto es = reference->appendAttribute(createAttribute(*definition, *reference));
                    es != cad::ErrorStatus::eOk)
                    return static_cast<int>(es);
            }
        }
        {
            auto record = db.open<cad::LayerTableRecord>(layerId, cad::OpenMode::ForWrite);
            if (record) record->setOff(true);
        }
        return 0;
    });
}
