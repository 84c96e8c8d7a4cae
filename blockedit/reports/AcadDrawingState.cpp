#include "reports/AcadDrawingState.h"

#include <algorithm>
#include <memory>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "logging/XMLUtilities.h"
#include "reports/DrawingLockScope.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr char kModel[] = "Model";

// The host's answer when it is asked to switch layouts is not examined.
void makeLayoutCurrent(CAcadDrawing& drawing, const std::string& name) {
    CDrawingLockScope lock(drawing);
    if (lock.locked()) drawing.database().setCurrentLayout(name);
}

}  // namespace

void CAcadDrawingState::getState(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CAcadDrawingState::getState", [&] {
        layoutName_ = drawing.database().currentLayout();
        layers_.deleteObjects();
        layers_.getDWGLayers(drawing);
    });
}

void CAcadDrawingState::setLayerState(const std::string& name, int frozen, int locked, int off, int plottable) {
    korvaWrap(kFile, "CAcadDrawingState::setLayerState", [&] {
        CLayer* layer = layers_.getAtLayer(name);
        std::unique_ptr<CLayer> added;
        if (layer == nullptr) {
            added = std::make_unique<CLayer>();
            added->setName(name);
            layer = added.get();
        }
        layer->setFrozen(frozen);
        layer->setLocked(locked);
        layer->setOff(off);
        layer->setPlottable(plottable);
        if (added) layers_.add(std::move(added));
    });
}

void CAcadDrawingState::setAllLayerLineWeights(int value) {
    korvaWrap(kFile, "CAcadDrawingState::setAllLayerLineWeights", [&] {
        for (std::size_t i = 0; i < layers_.getCount(); ++i) layers_.getAt(i).setLineWeight(value);
    });
}

void CAcadDrawingState::setStateAllOff(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CAcadDrawingState::setStateAllOff", [&] {
        makeLayoutCurrent(drawing, kModel);
        for (std::size_t i = 0; i < layers_.getCount(); ++i) {
            CLayer& layer = layers_.getAt(i);
            layer.setFrozen(0);
            layer.setLocked(0);
            layer.setOff(1);
            layer.setPlottable(1);
        }
        applyState(drawing, false);
    });
}

void CAcadDrawingState::setStateForTakeOff(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CAcadDrawingState::setStateForTakeOff", [&] {
        layoutName_ = kModel;
        for (std::size_t i = 0; i < layers_.getCount(); ++i) {
            CLayer& layer = layers_.getAt(i);
            layer.setLocked(0);
            layer.setFrozen(0);
            layer.setOff(0);
            layer.setPlottable(1);
        }
        applyState(drawing, false);
    });
}

void CAcadDrawingState::applyState(CAcadDrawing& drawing, bool alsoViewports) {
    korvaWrap(kFile, "CAcadDrawingState::applyState", [&] {
        makeLayoutCurrent(drawing, layoutName_);
        layers_.applyToDWG(drawing);
        if (alsoViewports && layoutName_ != kModel) {
            std::vector<cad::ObjectId> thawed;
            std::vector<cad::ObjectId> frozen;
            layers_.getFrozenThawedIds(thawed, frozen);
            applyLayersInAllLayoutViewports(drawing, thawed, frozen);
        }
        drawing.regenDrawing();
    });
}

void CAcadDrawingState::applyLayersInAllLayoutViewports(CAcadDrawing& drawing,
                                                        const std::vector<cad::ObjectId>& thawedIds,
                                                        const std::vector<cad::ObjectId>& frozenIds) {
    korvaWrap(kFile, "CAcadDrawingState::applyLayersInAllLayoutViewports", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        auto layout = db.open<cad::Layout>(db.layoutId(db.currentLayout()));
        if (!layout) return;
        for (cad::ObjectId viewportId : layout->viewportIds()) {
            auto viewport = db.open<cad::Viewport>(viewportId, cad::OpenMode::ForWrite);
            if (!viewport) continue;
            std::vector<cad::ObjectId> layers = viewport->frozenLayers();
            for (cad::ObjectId id : thawedIds) layers.erase(std::remove(layers.begin(), layers.end(), id), layers.end());
            for (cad::ObjectId id : frozenIds)
                if (!id.isNull() && std::find(layers.begin(), layers.end(), id) == layers.end()) layers.push_back(id);
            viewport->setFrozenLayers(std::move(layers));
        }
    });
}

pugi::xml_node CAcadDrawingState::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CAcadDrawingState::serialize", [&] {
        pugi::xml_node node = factory.createNode("AcadDrawingState", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("layout", layoutName_, namespaceURI));
        CXMLUtilities::appendChild(node, layers_.serialize(factory, namespaceURI, "layers"));
        return node;
    });
}

void CAcadDrawingState::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CAcadDrawingState::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "layout")
                layoutName_ = child.text().get();
            else if (name == "layers")
                layers_.deSerialize(child);
        }
    });
}
