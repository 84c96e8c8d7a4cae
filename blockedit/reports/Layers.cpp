#include "reports/Layers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <string_view>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "logging/XMLUtilities.h"
#include "reports/DrawingLockScope.h"
#include "engine/api/Text.h"

namespace {

constexpr const char* kFile = __FILE__;

// Layers that switching a whole state off or frozen leaves as they are.
constexpr std::array<std::string_view, 5> kKeptLayers = {"##HYPERLINKS", "##HATCH", "ATT-NAME", "ATT-AREA",
                                                         "ATT-AUX"};

bool isKept(const std::string& name) {
    return std::find(kKeptLayers.begin(), kKeptLayers.end(), name) != kKeptLayers.end();
}

}  // namespace

bool CLayers::add(std::unique_ptr<CLayer> layer) {
    return korvaWrap(kFile, "CLayers::add", [&] {
        for (const auto& held : items_)
            if (held->getName() == layer->getName()) return false;
        items_.push_back(std::move(layer));
        return true;
    });
}

CLayer& CLayers::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("CLayers::getAt: index outside the collection");
    return *items_[index];
}

CLayer* CLayers::getAtLayer(const std::string& name) const {
    return korvaWrap(kFile, "CLayers::getAtLayer", [&]() -> CLayer* {
        const std::string wanted = cad::toUpperAscii(name);
        for (const auto& held : items_)
            if (cad::toUpperAscii(held->getName()) == wanted) return held.get();
        return nullptr;
    });
}

void CLayers::getDWGLayers(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CLayers::getDWGLayers", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        auto table = db.open<cad::SymbolTable>(db.layerTableId());
        if (!table) return;
        for (cad::ObjectId id : table->liveRecordIds())
            if (auto record = db.open<cad::LayerTableRecord>(id)) add(std::make_unique<CLayer>(*record));
    });
}

void CLayers::applyToDWG(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CLayers::applyToDWG", [&] {
        for (const auto& layer : items_) layer->applyToDWG(drawing);
    });
}

bool CLayers::ensureLayerExists(CAcadDrawing& drawing, std::string& name, const cad::Color& colour) {
    return korvaWrap(kFile, "CLayers::ensureLayerExists", [&] {
        if (!drawing.isLocked()) return false;
        name = CLayer::validateLayerName(name);
        cad::Database& db = drawing.database();
        auto table = db.open<cad::SymbolTable>(db.layerTableId(), cad::OpenMode::ForWrite);
        if (!table) return false;
        if (table->has(name)) return true;
        auto record = std::make_unique<cad::LayerTableRecord>(name);
        if (!colour.isByLayer() && !colour.isByBlock()) record->setColor(colour);
        return table->add(std::move(record)) == cad::ErrorStatus::eOk;
    });
}

void CLayers::setAllLayersOff(int value) {
    korvaWrap(kFile, "CLayers::setAllLayersOff", [&] {
        for (const auto& layer : items_)
            if (!isKept(layer->getName())) layer->setOff(value);
    });
}

void CLayers::setAllLayersFrozen(int value) {
    korvaWrap(kFile, "CLayers::setAllLayersFrozen", [&] {
        for (const auto& layer : items_)
            if (!isKept(layer->getName())) layer->setFrozen(value);
    });
}

void CLayers::setOnLayerToCurrent(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CLayers::setOnLayerToCurrent", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        for (const auto& layer : items_) {
            if (layer->getOff() != 0 || layer->getName() == "0") continue;
            const cad::ObjectId id = db.recordId(cad::TableKind::Layer, layer->getName());
            if (!id.isNull() && db.setClayer(id) == cad::ErrorStatus::eOk) return;
        }
    });
}

void CLayers::getFrozenThawedIds(std::vector<cad::ObjectId>& thawedIds, std::vector<cad::ObjectId>& frozenIds) const {
    korvaWrap(kFile, "CLayers::getFrozenThawedIds", [&] {
        for (const auto& layer : items_) (layer->getFrozen() != 0 ? frozenIds : thawedIds).push_back(layer->getId());
    });
}

pugi::xml_node CLayers::serialize(CXMLUtilities& factory, const std::string& namespaceURI,
                                  const std::string& elementName) const {
    return korvaWrap(kFile, "CLayers::serialize", [&] {
        pugi::xml_node node = factory.createNode(elementName, namespaceURI);
        for (const auto& layer : items_) CXMLUtilities::appendChild(node, layer->serialize(factory, namespaceURI));
        return node;
    });
}

void CLayers::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CLayers::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "layerOn") continue;
            auto layer = std::make_unique<CLayer>();
            layer->deSerialize(child);
            add(std::move(layer));
        }
    });
}
