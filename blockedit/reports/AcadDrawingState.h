#pragma once
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "engine/api/Drawing.h"
#include "reports/Layers.h"

class CAcadDrawing;
class CXMLUtilities;

// A drawing's current layout and the states of its layers, captured so that work can switch them
// and put them back.
class CAcadDrawingState {
public:
    CAcadDrawingState() = default;
    // Captures the drawing's state.
    explicit CAcadDrawingState(CAcadDrawing& drawing) { getState(drawing); }
    CAcadDrawingState(const CAcadDrawingState&) = delete;
    CAcadDrawingState& operator=(const CAcadDrawingState&) = delete;

    // The active layout (model space too) and every layer.
    void getState(CAcadDrawing& drawing);

    const std::string& getLayoutName() const { return layoutName_; }
    void setLayoutName(std::string name) { layoutName_ = std::move(name); }
    CLayers& getLayers() { return layers_; }
    const CLayers& getLayers() const { return layers_; }

    // The layer of that name (ignoring case) gets the four states; an unknown name is added.
    void setLayerState(const std::string& name, int frozen, int locked, int off, int plottable);
    void setAllLayerLineWeights(int value);
    // "Model" current, every layer thawed, unlocked, off and plottable; applied at once.
    void setStateAllOff(CAcadDrawing& drawing);
    // "Model", every layer unlocked, thawed, on and plottable; applied at once.
    void setStateForTakeOff(CAcadDrawing& drawing);
    // Makes the layout current and writes the changed layers; with alsoViewports, a paper layout's
    // viewports get the frozen and thawed layers too. Regenerates the drawing.
    void applyState(CAcadDrawing& drawing, bool alsoViewports);
    // Freezes the frozen layers and thaws the thawed ones in every viewport of the active layout.
    void applyLayersInAllLayoutViewports(CAcadDrawing& drawing, const std::vector<cad::ObjectId>& thawedIds,
                                         const std::vector<cad::ObjectId>& frozenIds);

    // <AcadDrawingState> with <layout> (the layout name) and <layers> (a <layerOn> per layer).
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // Reads the layout name and appends the layers of <layers>.
    void deSerialize(const pugi::xml_node& node);

private:
    std::string layoutName_;
    CLayers layers_;
};
