#include "reports/Layer.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "host/AcadDrawing.h"
#include "logging/XMLUtilities.h"
#include "reports/DrawingLockScope.h"
#include "engine/api/Text.h"

namespace {

constexpr const char* kFile = __FILE__;

constexpr std::string_view kInvalidLayerCharacters = "<>/\\\";?*,=`";

// The colour a layer record can carry: a colour that refers to a layer or block has no meaning
// on a layer itself, so such a record keeps the table's default colour.
bool isLayerColour(const cad::Color& colour) { return !colour.isByLayer() && !colour.isByBlock(); }

}  // namespace

std::string CLayer::validateLayerName(const std::string& name) {
    return korvaWrap(kFile, "CLayer::validateLayerName", [&] {
        std::string valid;
        valid.reserve(name.size());
        for (char c : name)
            if (kInvalidLayerCharacters.find(c) == std::string_view::npos) valid.push_back(c);
        return valid;
    });
}

void CLayer::setColourIndex(int index) {
    colourIndex_ = index;
    colour_ = cad::Color::fromIndex(index);
    changed_ = true;
}

void CLayer::getDWGLayer(const cad::LayerTableRecord& record) {
    korvaWrap(kFile, "CLayer::getDWGLayer", [&] {
        id_ = record.objectId();
        name_ = cad::toUpperAscii(record.name());
        colour_ = record.color();
        colourIndex_ = record.color().colorIndex();
        frozen_ = record.isFrozen() ? 1 : 0;
        locked_ = record.isLocked() ? 1 : 0;
        off_ = record.isOff() ? 1 : 0;
        plottable_ = record.isPlottable() ? 1 : 0;
        lineWeight_ = record.lineWeight();
    });
}

bool CLayer::getDWGLayer(CAcadDrawing& drawing, const std::string& name) {
    return korvaWrap(kFile, "CLayer::getDWGLayer", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return false;
        cad::Database& db = drawing.database();
        auto record = db.open<cad::LayerTableRecord>(db.recordId(cad::TableKind::Layer, name));
        if (!record) return false;
        getDWGLayer(*record);
        return true;
    });
}

void CLayer::applyToDWG(CAcadDrawing& drawing) {
    korvaWrap(kFile, "CLayer::applyToDWG", [&] {
        if (!changed_) return;
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return;
        cad::Database& db = drawing.database();
        auto table = db.open<cad::SymbolTable>(db.layerTableId(), cad::OpenMode::ForWrite);
        if (!table) return;
        const cad::ObjectId existing = table->getAt(name_);
        if (!existing.isNull()) {
            auto record = db.open<cad::LayerTableRecord>(existing, cad::OpenMode::ForWrite);
            if (!record) return;
            record->setFrozen(frozen_ != 0);
            record->setLocked(locked_ != 0);
            record->setOff(off_ != 0);
            record->setPlottable(plottable_ != 0);
            record->setLineWeight(lineWeight_);
            if (id_.isNull()) id_ = existing;
            return;
        }
        auto record = std::make_unique<cad::LayerTableRecord>(name_);
        if (isLayerColour(colour_)) record->setColor(colour_);
        record->setFrozen(frozen_ != 0);
        record->setLocked(locked_ != 0);
        record->setOff(off_ != 0);
        record->setPlottable(plottable_ != 0);
        record->setLineWeight(lineWeight_);
        cad::ObjectId added;
        if (table->add(std::move(record), &added) == cad::ErrorStatus::eOk) id_ = added;
    });
}

bool CLayer::ensureLayerExists(CAcadDrawing& drawing, const std::string& name) {
    return korvaWrap(kFile, "CLayer::ensureLayerExists", [&] {
        CDrawingLockScope lock(drawing);
        if (!lock.locked()) return false;
        const std::string valid = validateLayerName(name);
        cad::Database& db = drawing.database();
        auto table = db.open<cad::SymbolTable>(db.layerTableId(), cad::OpenMode::ForWrite);
        if (!table) return false;
        if (table->has(valid)) return true;
        return table->add(std::make_unique<cad::LayerTableRecord>(valid)) == cad::ErrorStatus::eOk;
    });
}

pugi::xml_node CLayer::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CLayer::serialize", [&] {
        pugi::xml_node node = factory.createNode("layerOn", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("loName", name_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("loDescription", description_, namespaceURI));
        return node;
    });
}

void CLayer::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CLayer::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "loName")
                setName(child.text().get());
            else if (name == "loDescription")
                setDescription(child.text().get());
        }
    });
}
