#include "spaceblocks/BlockDWG.h"

#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "engine/api/Documents.h"

namespace {

constexpr const char* kFile = "BlockDWG";

}  // namespace

void CBlockDWG::deleteBlock(cad::Document& drawing) {
    korvaWrap(kFile, "CBlockDWG::deleteBlock", [&] {
        cad::AcAxDocLock lock(drawing);
        KORVA_HOST_CHECK(lock.lockStatus(), drawing.fileName());
        cad::Database& db = drawing.database();
        cad::ObjectId blockId;
        cad::ObjectId ownerId;
        cad::Matrix3d transform;
        {
            auto reference = db.open<cad::BlockReference>(objectId_);
            KORVA_HOST_CHECK(reference.openStatus(), drawing.fileName());
            blockId = reference->blockTableRecord();
            ownerId = reference->ownerId();
            transform = reference->blockTransform();
        }
        std::vector<cad::ObjectId> entities;
        {
            auto block = db.open<cad::BlockTableRecord>(blockId);
            KORVA_HOST_CHECK(block.openStatus(), drawing.fileName());
            for (cad::ObjectId id : block->liveEntityIds()) {
                // Tag texts of the definition would stand in the plan as stray "AREA"/"NAME" words.
                auto entity = db.open<cad::Entity>(id);
                if (entity && entity->className() != "AcDbAttributeDefinition") entities.push_back(id);
            }
        }
        cad::IdMapping mapping;
        KORVA_HOST_CHECK(db.deepCloneObjects(entities, ownerId, mapping), drawing.fileName());
        for (cad::ObjectId id : entities) {
            auto copy = db.open<cad::Entity>(mapping.find(id), cad::OpenMode::ForWrite);
            KORVA_HOST_CHECK(copy.openStatus(), drawing.fileName());
            KORVA_HOST_CHECK(copy->transformBy(transform), drawing.fileName());
        }
        KORVA_HOST_CHECK(db.erase(objectId_), drawing.fileName());
        deleteBlockDefinition(db, blockId);
    });
}

bool CBlockDWG::deleteBlockDefinition(cad::Database& db, cad::ObjectId blockId) {
    return korvaWrap(kFile, "CBlockDWG::deleteBlockDefinition", [&] {
        // Every live reference counts, not only those of model space: erasing a definition that a
        // layout or another block still shows would break the drawing.
        for (std::uint32_t i = 1; i < db.slotCount(); ++i) {
            const auto* reference = dynamic_cast<const cad::BlockReference*>(db.objectAt(cad::ObjectId(i)));
            if (reference && !reference->isErased() && reference->blockTableRecord() == blockId) {
                const cad::DbObject* owner = db.objectAt(reference->ownerId());
                if (owner && !owner->isErased()) return false;
            }
        }
        return db.erase(blockId) == cad::ErrorStatus::eOk;
    });
}
