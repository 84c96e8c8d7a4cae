#pragma once
#include <pugixml.hpp>
#include <string>

#include "engine/api/Drawing.h"

class CXMLUtilities;

class CAcadDrawing;
class CStoredProcedure;
namespace cad {
class LayerTableRecord;
}

// One layer of a drawing as a layer state holds it. Every setter marks the layer changed; only a
// changed layer is written back to the drawing.
class CLayer {
public:
    CLayer() = default;
    explicit CLayer(const cad::LayerTableRecord& record) { getDWGLayer(record); }
    virtual ~CLayer() = default;
    CLayer(const CLayer&) = default;
    CLayer& operator=(const CLayer&) = default;

    // The name without the characters < > / \ " ; ? * , = and the backquote.
    static std::string validateLayerName(const std::string& name);

    // Reads id, name (upper-cased), colour, frozen, locked, off, plottable and line weight.
    void getDWGLayer(const cad::LayerTableRecord& record);
    // Looks the name up in the drawing's layer table (under the drawing's lock) and reads the
    // record found. False when there is none, or the lock was refused.
    bool getDWGLayer(CAcadDrawing& drawing, const std::string& name);

    // Writes a changed layer: the record of its name gets the states, or is created with colour
    // and states when the drawing has none. Host refusals are not reported.
    void applyToDWG(CAcadDrawing& drawing);

    // Adds an empty layer record of the (validated) name when the drawing has none. False when
    // the lock was refused or the name cannot be added.
    static bool ensureLayerExists(CAcadDrawing& drawing, const std::string& name);

    // Records the layer for the drawing `attachID` ("__to_addDrawingLayer": name, an empty
    // description, the colour index).
    void addLayerToIPR(CStoredProcedure& procedure, int timeout, int attachID) const;

    // <layerOn> with <loName> and <loDescription>.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // Reads loName (validated) and loDescription; other children are ignored.
    void deSerialize(const pugi::xml_node& node);

    cad::ObjectId getId() const { return id_; }
    void setId(cad::ObjectId id) { id_ = id; changed_ = true; }
    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = validateLayerName(name); changed_ = true; }
    const std::string& getDescription() const { return description_; }
    void setDescription(std::string text) { description_ = std::move(text); changed_ = true; }
    int getColourIndex() const { return colourIndex_; }
    // Also makes the colour that index.
    void setColourIndex(int index);
    const cad::Color& getColour() const { return colour_; }
    void setColour(const cad::Color& colour) { colour_ = colour; changed_ = true; }
    int getFrozen() const { return frozen_; }
    void setFrozen(int value) { frozen_ = value; changed_ = true; }
    int getLocked() const { return locked_; }
    void setLocked(int value) { locked_ = value; changed_ = true; }
    int getOff() const { return off_; }
    void setOff(int value) { off_ = value; changed_ = true; }
    int getPlottable() const { return plottable_; }
    void setPlottable(int value) { plottable_ = value; changed_ = true; }
    int getLineWeight() const { return lineWeight_; }
    void setLineWeight(int value) { lineWeight_ = value; changed_ = true; }
    bool isChanged() const { return changed_; }
    // A layer read from a drawing is unchanged until a setter runs; a saved state that is to be
    // put back marks its layers changed.
    void setChanged(bool changed) { changed_ = changed; }

private:
    cad::ObjectId id_;
    std::string name_;
    std::string description_;
    int colourIndex_ = 0;
    cad::Color colour_;
    int frozen_ = 0;
    int locked_ = 0;
    int off_ = 0;
    int plottable_ = 1;
    int lineWeight_ = 0;
    bool changed_ = false;
};
