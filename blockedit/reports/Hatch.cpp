#include "reports/Hatch.h"

#include "core/EXKinds.h"
#include "core/HostError.h"
#include "core/KorvaExceptions.h"
#include "core/ModuleInfo.h"
#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "host/AcadUtilities.h"
#include "reports/Layer.h"

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

void CHatch::copyTo(CHatch& target) const {
    korvaWrap(kFile, "CHatch::copyTo", [&] {
        target.angle_ = angle_;
        target.colour_ = colour_;
        target.layer_ = layer_;
        target.pattern_ = pattern_;
        target.scale_ = scale_;
    });
}

std::string CHatch::validLayer() const {
    std::string layer = CLayer::validateLayerName(layer_);
    return layer.empty() ? std::string(kDefaultLayer) : layer;
}

std::unique_ptr<CHatch> CHatch::clone() const {
    auto copy = std::make_unique<CHatch>();
    copyTo(*copy);
    return copy;
}

void CHatch::ensureLayerExists(cad::Database& db, const std::string& layer, const cad::Color& colour) {
    korvaWrap(kFile, "CHatch::ensureLayerExists", [&] {
        if (!db.recordId(cad::TableKind::Layer, layer).isNull()) return;
        auto table = db.open<cad::SymbolTable>(db.layerTableId(), cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(table.openStatus(), std::string());
        auto record = std::make_unique<cad::LayerTableRecord>(layer);
        record->setColor(colour);
        KORVA_HOST_CHECK(table->add(std::move(record)), std::string());
    });
}

cad::ObjectId CHatch::postToModelSpace(cad::Database& db, std::unique_ptr<cad::Entity> entity) {
    return korvaWrap(kFile, "CHatch::postToModelSpace", [&] {
        auto space = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        KORVA_HOST_CHECK(space.openStatus(), std::string());
        cad::ObjectId id;
        KORVA_HOST_CHECK(space->appendEntity(std::move(entity), &id), std::string());
        return id;
    });
}

std::unique_ptr<cad::Hatch> CHatch::createHatchEntity(cad::Database& db) const {
    return korvaWrap(kFile, "CHatch::createHatchEntity", [&] {
        auto hatch = std::make_unique<cad::Hatch>();
        // The stored angle goes in as the entity's angle value without a unit conversion.
        hatch->setPatternAngle(static_cast<double>(angle_));
        hatch->setPatternScale(static_cast<double>(scale_));
        hatch->setAssociative(false);
        hatch->setPattern(cad::Hatch::PatternType::Predefined, pattern_);
        hatch->setColor(cad::Color::fromRgb(colour_.red(), colour_.green(), colour_.blue()));
        hatch->setHatchStyle(cad::Hatch::Style::Normal);
        hatch->setNormal(CAcadUtilities::userZAxis());
        hatch->setElevation(0.0);
        const std::string layer = validLayer();
        ensureLayerExists(db, layer, colour_);
        hatch->setLayer(db.recordId(cad::TableKind::Layer, layer));
        return hatch;
    });
}

cad::ErrorStatus CHatch::evaluateHatch(cad::Hatch& hatch) {
    return korvaWrap(kFile, "CHatch::evaluateHatch", [&] {
        // Definition lines first: a hatch refused as too dense or too sparse is still written.
        if (!hatch.isSolidFill()) hatch.computeDefinitionLines();
        return hatch.evaluateHatch();
    });
}

bool CHatch::collectDensityError(cad::ErrorStatus evaluation, const std::string& object, CKorvaExceptions& errors,
                                 const char* fileName, const char* procSig) const {
    const double scale = static_cast<double>(scale_);
    if (evaluation == cad::ErrorStatus::eHatchTooDense) {
        errors.add(CEXHatchTooDense(object, pattern_, scale, kModuleDescription, fileName, procSig));
        return true;
    }
    if (evaluation == cad::ErrorStatus::eHatchTooSparse) {
        errors.add(CEXHatchTooSparse(object, pattern_, scale, kModuleDescription, fileName, procSig));
        return true;
    }
    return false;
}
