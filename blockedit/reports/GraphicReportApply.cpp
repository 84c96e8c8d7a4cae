// CGraphicReport::applyToDrawing: a report's layers, link lines, texts and hatches put into a drawing.
#include <memory>
#include <string>

#include "core/EXKorva.h"
#include "core/KorvaExceptions.h"
#include "core/KorvaWrap.h"
#include "data/Asset.h"
#include "data/Assets.h"
#include "engine/api/Documents.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "host/AcadDrawing.h"
#include "host/HostPlatform.h"
#include "logging/ErrorLogWriter.h"
#include "logging/PreferencesZerOda.h"
#include "reports/AcadDrawingState.h"
#include "reports/DrawingLockScope.h"
#include "reports/GraphicReport.h"
#include "reports/LegendTable.h"
#include "reports/MarkerBlockLegend.h"
#include "reports/MarkerBlockPie.h"
#include "reports/PieChart.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

namespace {

constexpr const char* kFile = "GraphicReport.cpp";

// The handle text of a category block that stands for every space block of the drawing.
constexpr char kTemplateHandle[] = "*";

// Marks the layer of the entity on (thawed, unlocked, on, plottable) in the working state.
void markLayerOn(cad::Database& db, cad::ObjectId id, CAcadDrawingState& state) {
    auto entity = db.open<cad::Entity>(id);
    if (!entity) return;
    if (auto layer = db.open<cad::LayerTableRecord>(entity->layerId())) state.setLayerState(layer->name(), 0, 0, 0, 1);
}

// The three attribute formatting values of a block, kept across copyFormatting so that only the
// report's texts, hatch, hyperlinks and area value reach the block.
struct Formatting {
    double textHeight = 0.0;
    double widthFactor = 0.0;
    double rotation = 0.0;
    bool present = false;

    explicit Formatting(const CBlockDWG& block) {
        if (const CAttributes* attributes = block.getAttributes()) {
            textHeight = attributes->getTextHeight();
            widthFactor = attributes->getWidthFactor();
            rotation = attributes->getRotation();
            present = true;
        }
    }
    void restore(CBlockDWG& block) const {
        CAttributes* attributes = block.getAttributes();
        if (!present || attributes == nullptr) return;
        attributes->setTextHeight(textHeight);
        attributes->setWidthFactor(widthFactor);
        attributes->setRotation(rotation);
    }
};

// Every collected chain on the command line and into the error logs; the collection is emptied.
void reportRemaining(CKorvaExceptions& errors) {
    if (errors.getCount() == 0) return;
    CErrorLogWriter writer(moduleDocumentMonitorSettings());
    for (std::size_t i = 0; i < errors.getCount(); ++i) {
        errors.getAt(i).printErrorTrace();
        errors.getAt(i).reportToErrorLog(writer);
    }
    errors.deleteObjects();
}

// Prints the block's failures with its code and handle, then reports them.
void reportErrors(const CBlockDWG& block, CKorvaExceptions& errors) {
    if (errors.getCount() == 0) return;
    cad::printf("\t\terror(s) occurred whilst applying korva block %s - %s.\n", block.getCode(), block.getHandle());
    reportRemaining(errors);
}

// Restyles a block with the category block's report settings, keeping its own formatting, and
// writes it into the drawing.
// Writes one block; a failure that ends its writing (a hatch layer the drawing refuses, say) is
// collected with the block's other failures, so that the next block still gets its turn.
void applyBlock(CBlockDWG& block, cad::Document& document, CKorvaExceptions& errors) {
    try {
        block.applyToDWG(document, errors);
    } catch (CEXKorva& failure) {
        errors.add(std::move(failure));
    }
    reportErrors(block, errors);
}

void restyleAndApply(const CBlockDWG& from, CBlockDWG& target, cad::Document& document, CKorvaExceptions& errors) {
    const Formatting own(target);
    from.copyFormatting(target);
    own.restore(target);
    applyBlock(target, document, errors);
}

void applyAssets(CAssets& assets, cad::Document& document, CAcadDrawingState& state, CKorvaExceptions& errors) {
    cad::Database& db = document.database();
    for (std::size_t i = 0; i < assets.getCount(); ++i) {
        CAsset& asset = assets.getAt(i);
        cad::ObjectId id;
        if (db.getObjectId(id, asset.getHandle()) != cad::ErrorStatus::eOk) continue;
        asset.setObjectId(id);
        try {
            asset.applyToDWG(document, errors);
        } catch (CEXKorva& failure) {
            errors.add(std::move(failure));
        }
        markLayerOn(db, id, state);
    }
}

// Every space block of the drawing but the floor and site blocks takes the template's settings.
void applyTemplate(const CBlockDWG& templateBlock, cad::Document& document, CAcadDrawingState& state,
                   CKorvaExceptions& errors) {
    CBlocks spaces;
    spaces.getKorvaDWGBlocks_SS(document, true, CBlocks::kLevelFloor);
    for (std::size_t i = 0; i < spaces.getLength(); ++i) {
        auto* space = dynamic_cast<CBlockDWG*>(&spaces.getAt(i));
        if (space == nullptr) continue;
        const int type = space->getBlockType();
        if (type == CBlock::kBlockDWGFloor || type == CBlock::kBlockDWGSite) continue;
        restyleAndApply(templateBlock, *space, document, errors);
        markLayerOn(document.database(), space->getObjectId(), state);
    }
}

void applyBlocks(CBlocks& blocks, cad::Document& document, CAcadDrawingState& state, CKorvaExceptions& errors) {
    cad::Database& db = document.database();
    cad::printf("\tcategory contains %d blocks.\n", static_cast<int>(blocks.getLength()));
    for (std::size_t i = 0; i < blocks.getLength(); ++i) {
        auto* block = dynamic_cast<CBlockDWG*>(&blocks.getAt(i));
        if (block == nullptr) continue;
        if (block->getHandle() == kTemplateHandle) {
            applyTemplate(*block, document, state, errors);
            continue;
        }
        // A handle that names nothing in this drawing is skipped without a word.
        cad::ObjectId id;
        if (db.getObjectId(id, block->getHandle()) != cad::ErrorStatus::eOk) continue;
        block->setObjectId(id);
        auto entity = db.open<cad::Entity>(id);
        if (!entity) {
            applyBlock(*block, document, errors);
            markLayerOn(db, block->getObjectId(), state);
            continue;
        }
        const auto* reference = dynamic_cast<const cad::BlockReference*>(entity.get());
        if (reference == nullptr) continue;
        auto fromDrawing = std::make_unique<CBlockDWG>(*reference, db);
        entity.close();
        fromDrawing->setObjectId(id);
        restyleAndApply(*block, *fromDrawing, document, errors);
        // The drawing's own record stands in the category from now on (the legend reads it).
        blocks.replaceAt(i, std::move(fromDrawing));
    }
}

}  // namespace

bool CGraphicReport::drawLegendAndPie(CAcadDrawing& drawing) const {
    bool drawn = false;
    cad::Document& document = *drawing.getDocument();
    CBlocks legends;
    legends.getLegendBlock_SS(document, [](const cad::BlockReference& r, cad::Database& db) {
        return std::make_unique<CMarkerBlockLegend>(r, db);
    });
    // A marker without its settings (made by hand, attributes deleted) gives no size to draw at.
    auto unusable = [](const CMarkerBlock& marker, const char* what) {
        if (marker.getTextSize() > 0) return false;
        cad::printf("The %s marker %s gives no text size: the %s is not drawn.\n", what, marker.getHandle(), what);
        return true;
    };
    if (legends.getLength() > 0 && !unusable(static_cast<const CMarkerBlock&>(legends.getAt(0)), "legend")) {
        const auto& marker = static_cast<const CMarkerBlockLegend&>(legends.getAt(0));
        CLegendTable(drawing, marker.getTextSize(), marker.getPrecision(), marker.unitsWord(), false, *this,
                     marker.getRotation(), marker.getPosition());
        drawing.regenDrawing();
        drawn = true;
    }
    CBlocks pies;
    pies.getPieBlock_SS(document, [](const cad::BlockReference& r, cad::Database& db) {
        return std::make_unique<CMarkerBlockPie>(r, db);
    });
    if (pies.getLength() > 0 && !unusable(static_cast<const CMarkerBlock&>(pies.getAt(0)), "pie chart")) {
        const auto& marker = static_cast<const CMarkerBlockPie&>(pies.getAt(0));
        CPieChart(drawing, *this, marker.getRadius(), pieXYOffset_, marker.getTextSize(), marker.getPrecision(),
                  marker.unitsWord(), pieIgnoreEmptySegments_, pieShowLabels_, pieShowLabelSegmentLines_,
                  marker.getRotation(), marker.getPosition());
        drawing.regenDrawing();
        drawn = true;
    }
    return drawn;
}

void CGraphicReport::applyToDrawing(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CGraphicReport::applyToDrawing", [&] {
        auto state = std::make_unique<CAcadDrawingState>(drawing);
        state->setLayoutName(plotLayout_);
        state->setAllLayerLineWeights(0);
        cad::printf("applying graphic report %s.\n", title_);

        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Document& document = *drawing.getDocument();

        if (layersOn_) {
            state->setStateAllOff(drawing);
            for (std::size_t i = 0; i < layersOn_->getCount(); ++i)
                state->setLayerState(layersOn_->getAt(i).getName(), 0, 0, 0, 1);
        }

        if (linkLines_) {
            cad::printf("Applying link Lines\n");
            linkLines_->applyToDrawing(drawing, *state);
        }

        bool processed = false;
        if (categories_) {
            cad::printf("\tgraphic report contains %d categories.\n", static_cast<int>(categories_->getCount()));
            for (std::size_t c = 0; c < categories_->getCount(); ++c) {
                processed = true;
                CCategory& category = categories_->getAt(c);
                cad::printf("\tapplying category %s.\n", category.getTitle());
                CKorvaExceptions errors;
                if (CAssets* assets = category.getAssets()) applyAssets(*assets, document, *state, errors);
                if (CBlocks* blocks = category.getBlocks()) applyBlocks(*blocks, document, *state, errors);
                // Failures of assets in a category without blocks have had no block to go with.
                reportRemaining(errors);
            }
        }

        if (processed && hostPlatform().isFullHost() && drawLegendAndPie(drawing)) {
            // The legend and chart stand on the current layer: the report's layer state must not
            // hide what it has just drawn.
            auto layer = drawing.database().open<cad::LayerTableRecord>(drawing.database().clayer());
            if (layer) state->setLayerState(layer->name(), 0, 0, 0, 1);
        }

        state->applyState(drawing, false);
    });
}
