// maux: the auxiliary attribute added where it is missing, the name and auxiliary attributes
// realigned around the area attribute.
#include "module/Auxilarator.h"

#include <cmath>
#include <memory>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "module/CommandFrame.h"
#include "module/CommandSupport.h"
#include "module/MaintenanceCommands.h"
#include "module/Progress.h"
#include "reports/DrawingLockScope.h"
#include "reports/Layer.h"
#include "spaceblocks/BlockDWG.h"
#include "spaceblocks/Blocks.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr char kAuxLayer[] = "ATT-AUX";

// The layout every moved attribute takes from the AREA attribute.
struct AreaLayout {
    cad::Point3d position;
    double rotation;
    double widthFactor;
    double height;
    cad::Vector3d normal;
    cad::Text::HorizontalMode horizontal;
    cad::Text::VerticalMode vertical;

    explicit AreaLayout(const cad::Text& area)
        : position(area.position()), rotation(area.rotation()), widthFactor(area.widthFactor()),
          height(area.height()), normal(area.normal()), horizontal(area.horizontalMode()),
          vertical(area.verticalMode()) {}

    double dx() const { return std::sin(rotation) * height * 1.5; }
    double dy() const { return std::cos(rotation) * height * 1.5; }
    cad::Point3d above() const { return cad::Point3d(position.x - dx(), position.y + dy(), position.z); }
    cad::Point3d below() const { return cad::Point3d(position.x + dx(), position.y - dy(), position.z); }

    void place(cad::Text& text, const cad::Point3d& at) const {
        text.setPosition(at);
        text.setRotation(rotation);
        text.setWidthFactor(widthFactor);
        text.setHeight(height);
    }
};

void turnOnKorvaLayers(cad::Database& db) {
    auto table = db.open<cad::SymbolTable>(db.layerTableId());
    if (!table) return;
    for (cad::ObjectId id : table->liveRecordIds()) {
        auto layer = db.open<cad::LayerTableRecord>(id, cad::OpenMode::ForWrite);
        if (!layer) continue;
        std::string name = layer->name();
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (name == "ATT-NAME" || name == "ATT-AREA" || name == kAuxLayer) layer->setOff(false);
    }
}

}  // namespace

void iterateThroughKorvaBlockDefinition(cad::Database& db, cad::BlockTableRecord& definition) {
    korvaWrap(kFile, "iterateThroughKorvaBlockDefinition", [&] {
        cad::ObjectPtr<cad::AttributeDefinition> name, area, aux;
        for (cad::ObjectId id : definition.liveEntityIds()) {
            auto candidate = db.open<cad::AttributeDefinition>(id, cad::OpenMode::ForWrite);
            if (!candidate) continue;
            const std::string tag = candidate->tag();
            if (tag == "NAME" && !name) name = std::move(candidate);
            else if (tag == "AREA" && !area) area = std::move(candidate);
            else if (tag == "AUX" && !aux) aux = std::move(candidate);
        }
        if (!area) return;
        area->setHorizontalMode(cad::Text::HorizontalMode::Left);
        const AreaLayout layout(*area);
        if (name) {
            layout.place(*name, layout.above());
            name->setHorizontalMode(cad::Text::HorizontalMode::Left);
        }
        if (aux) {
            layout.place(*aux, layout.below());
            return;
        }
        auto added = std::make_unique<cad::AttributeDefinition>();
        layout.place(*added, layout.below());
        added->setNormal(layout.normal);
        added->setHorizontalMode(cad::Text::HorizontalMode::Left);
        added->setVerticalMode(layout.vertical);
        added->setPrompt("Enter Auxillary");
        added->setTextString("default aux");
        added->setTag("AUX");
        added->setInvisible(false);
        added->setVerifiable(false);
        added->setPreset(false);
        added->setConstant(false);
        added->setFieldLength(25);
        // Not in the drawing yet: the layer is given by its id, as a name cannot be looked up.
        added->setLayer(db.recordId(cad::TableKind::Layer, kAuxLayer));
        definition.appendEntity(std::move(added));
    });
}

void iterateThroughKorvaBlockReference(cad::Database& db, cad::BlockReference& reference) {
    korvaWrap(kFile, "iterateThroughKorvaBlockReference", [&] {
        cad::ObjectPtr<cad::Attribute> name, area, aux;
        for (cad::ObjectId id : reference.attributeIds()) {
            auto candidate = db.open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (!candidate) continue;
            const std::string tag = candidate->tag();
            if (tag == "NAME" && !name) name = std::move(candidate);
            else if (tag == "AREA" && !area) area = std::move(candidate);
            else if (tag == "AUX" && !aux) aux = std::move(candidate);
        }
        if (!area) return;
        const AreaLayout layout(*area);
        if (name) layout.place(*name, layout.above());
        if (aux) {
            layout.place(*aux, layout.below());
            return;
        }
        auto added = std::make_unique<cad::Attribute>();
        layout.place(*added, layout.below());
        added->setNormal(layout.normal);
        added->setHorizontalMode(layout.horizontal);
        added->setVerticalMode(layout.vertical);
        added->setTextString(" ");
        added->setTag("AUX");
        added->setInvisible(false);
        added->setLayer(db.recordId(cad::TableKind::Layer, kAuxLayer));
        reference.appendAttribute(std::move(added));
    });
}

void korvaAuxilarator() {
    CCommandFrame frame("korvaAuxilarator");
    frame.run([&] {
        CAcadDrawing& drawing = bindDrawing(frame);
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        CLayer::ensureLayerExists(drawing, kAuxLayer);
        turnOnKorvaLayers(db);
        CBlocks& blocks = gatherSpaces(frame, drawing);
        CProgress progress("Adding auxiliary attributes", blocks.getLength());
        for (std::size_t i = 0; i < blocks.getLength(); ++i) {
            auto reference = db.open<cad::BlockReference>(spaceAt(blocks, i).getObjectId(), cad::OpenMode::ForWrite);
            if (reference) {
                if (auto definition =
                        db.open<cad::BlockTableRecord>(reference->blockTableRecord(), cad::OpenMode::ForWrite))
                    iterateThroughKorvaBlockDefinition(db, *definition);
                iterateThroughKorvaBlockReference(db, *reference);
            }
            progress.step();
        }
        drawing.regenDrawing();
    });
}
