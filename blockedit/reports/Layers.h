#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"
#include "reports/Layer.h"

class CAcadDrawing;
class CStoredProcedure;
class CXMLUtilities;

// The layers of a layer state, in order. Owns its layers; names are unique (case-sensitive).
class CLayers {
public:
    CLayers() = default;
    virtual ~CLayers() = default;
    CLayers(const CLayers&) = delete;
    CLayers& operator=(const CLayers&) = delete;

    // A layer whose name is already held is dropped (and false answered).
    bool add(std::unique_ptr<CLayer> layer);
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CLayer& getAt(std::size_t index) const;
    // The first layer of that name, ignoring case, or nullptr.
    CLayer* getAtLayer(const std::string& name) const;
    void deleteObjects() { items_.clear(); }

    // One layer per record of the drawing's layer table, under the drawing's lock.
    void getDWGLayers(CAcadDrawing& drawing);
    // Writes every changed layer, in order.
    void applyToDWG(CAcadDrawing& drawing);

    // Only while the caller holds the drawing's lock: `name` receives its valid form; a layer of
    // that name is created with the colour when the drawing has none. False when the drawing is
    // not locked or the layer cannot be added.
    static bool ensureLayerExists(CAcadDrawing& drawing, std::string& name, const cad::Color& colour);

    // Off (or frozen) on every layer but the hyperlink, hatch and space attribute layers.
    void setAllLayersOff(int value);
    void setAllLayersFrozen(int value);
    // Makes a layer of the collection that is on, other than "0", the drawing's current layer.
    void setOnLayerToCurrent(CAcadDrawing& drawing);
    // An element of the given name (<layersOn> in a report) holding one <layerOn> per layer.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI,
                             const std::string& elementName = "layersOn") const;
    // One layer per <layerOn> child, added with add.
    void deSerialize(const pugi::xml_node& node);
    // One layer per row of "__gr_getReportLayersOn" (name and description), added with add.
    void getGraphicReportLayersOn(CStoredProcedure& procedure, int graphicReportID, int timeout);
    // Records every layer for the drawing `attachID` ("__to_addDrawingLayer").
    void addLayersToIPR(CStoredProcedure& procedure, int timeout, int attachID);
    void getFrozenThawedIds(std::vector<cad::ObjectId>& thawedIds, std::vector<cad::ObjectId>& frozenIds) const;

private:
    std::vector<std::unique_ptr<CLayer>> items_;
};
