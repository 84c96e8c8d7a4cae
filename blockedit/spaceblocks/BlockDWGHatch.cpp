// CBlockDWG: hatching, hyperlinks and zooming of a space block in the drawing.
#include <stdexcept>

#include "core/EXKinds.h"
#include "core/EXUnhandled.h"
#include "core/HostError.h"
#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "host/AcadUtilities.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/DrawingView.h"
#include "data/Hyperlinks.h"
#include "reports/Hatch.h"

namespace {

// Errors name the record's own source file.
constexpr const char* kFile = "BlockDWG.cpp";

}  // namespace

void CBlockDWG::zoomToBlock(cad::Document& drawing, const cad::Entity& entity) const {
    korvaWrap(kFile, "CBlockDWG::zoomToBlock", [&] {
        cad::Point3d low, high;
        CAcadUtilities::getBlockExtents(entity, low, high, zoomBorder_);
        CDrawingView::zoomWindow(drawing.database(), low, high);
    });
}

void CBlockDWG::hatchBlock(cad::Document& drawing, cad::BlockReference& reference, cad::ObjectId& hatchId,
                           CKorvaExceptions& errors) {
    korvaWrap(kFile, "CBlockDWG::hatchBlock", [&] {
        cad::Database& db = drawing.database();
        if (reference.className() != "AcDbBlockReference") return;
        const cad::ObjectId boundaryId = CAcadUtilities::getOutlineId(reference);
        if (boundaryId.isNull()) {
            // Nothing to hatch: the definition holds no outline polyline.
            errors.add(CEXHatchBlock(getName(), getHandle(), kModuleDescription, kFile, "CBlockDWG::hatchBlock"));
            return;
        }
        std::vector<cad::ObjectId> additionalIds, noHatchIds;
        KORVA_HOST_CHECK(static_cast<cad::ErrorStatus>(convertHandlesToObjectIds(handlesToAdd_, db, additionalIds)),
                         drawing.fileName());
        KORVA_HOST_CHECK(static_cast<cad::ErrorStatus>(convertHandlesToObjectIds(handlesToMinus_, db, noHatchIds)),
                         drawing.fileName());
        hatchObject(drawing, reference, boundaryId, noHatchIds, additionalIds, hatchId, errors);
    });
}

void CBlockDWG::hatchObject(cad::Document& drawing, cad::BlockReference& reference, cad::ObjectId boundaryId,
                            const std::vector<cad::ObjectId>& noHatchIds,
                            const std::vector<cad::ObjectId>& additionalIds, cad::ObjectId& hatchId,
                            CKorvaExceptions& errors) {
    korvaWrap(kFile, "CBlockDWG::hatchObject", [&] {
        if (!hatchSettings_) return;
        cad::Database& db = drawing.database();
        const char* const procSig = "CBlockDWG::hatchObject";
        const cad::Matrix3d transform = reference.blockTransform();
        const cad::Matrix3d inverse = transform.inverse();

        // Loops are read from the drawing, so the hatch joins model space before it gets them.
        hatchId = CHatch::postToModelSpace(db, hatchSettings_->createHatchEntity(db));
        auto hatch = db.open<cad::Hatch>(hatchId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(hatch.openStatus(), drawing.fileName());

        // The outline lives in the definition: it is moved to where the block stands for as long
        // as the hatch reads it.
        auto boundary = db.open<cad::Entity>(boundaryId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(boundary.openStatus(), drawing.fileName());
        KORVA_HOST_CHECK(boundary->transformBy(transform), drawing.fileName());
        if (hatch->appendLoop(cad::HatchLoop::kOutermost, std::vector<cad::ObjectId>{boundaryId}) !=
            cad::ErrorStatus::eOk) {
            boundary->transformBy(inverse);
            hatch.close();
            db.erase(hatchId);
            hatchId = cad::ObjectId();
            errors.add(CEXHatchBlock(getName(), getHandle(), kModuleDescription, kFile, procSig));
            return;
        }
        for (cad::ObjectId id : additionalIds) {
            if (hatch->appendLoop(cad::HatchLoop::kExternal, std::vector<cad::ObjectId>{id}) != cad::ErrorStatus::eOk)
                errors.add(CEXHatchAdditionalAreas(getName(), kModuleDescription, kFile, procSig));
        }
        for (cad::ObjectId id : noHatchIds) {
            if (hatch->appendLoop(cad::HatchLoop::kDefault, std::vector<cad::ObjectId>{id}) != cad::ErrorStatus::eOk)
                errors.add(CEXHatchNoHatchAreas(getName(), kModuleDescription, kFile, procSig));
        }

        const cad::ErrorStatus evaluation = CHatch::evaluateHatch(*hatch);
        if (!hatchSettings_->collectDensityError(evaluation, "korva block " + getName(), errors, kFile, procSig) &&
            evaluation != cad::ErrorStatus::eOk)
            errors.add(CEXUnhandled(evaluation, kModuleDescription, kFile, procSig, __LINE__, drawing.fileName()));

        boundary->transformBy(inverse);
        CAcadUtilities::moveEntityToBottom(*hatch);
    });
}

void CBlockDWG::hyperlinkEntity(cad::Entity& entity) const {
    korvaWrap(kFile, "CBlockDWG::hyperlinkEntity", [&] {
        const CHyperlinks none;
        (getHyperlinks() ? *getHyperlinks() : none).writeToEntity(entity);
    });
}

void CBlockDWG::hyperlinkBlock(cad::BlockReference& reference, bool fromDefinition) const {
    korvaWrap(kFile, "CBlockDWG::hyperlinkBlock", [&] {
        const CHyperlinks none;
        (getHyperlinks() ? *getHyperlinks() : none).writeToBlock(reference, fromDefinition);
    });
}

void CBlockDWG::hyperlinkHatch(cad::Database& db, cad::ObjectId hatchId) const {
    korvaWrap(kFile, "CBlockDWG::hyperlinkHatch", [&] {
        if (hatchId.isNull()) return;
        auto hatch = db.open<cad::Entity>(hatchId, cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(hatch.openStatus(), std::string());
        hyperlinkEntity(*hatch);
    });
}
