#pragma once
#include <pugixml.hpp>
#include <string>

#include "engine/api/Drawing.h"

class CAcadDrawing;
class CAcadDrawingState;
class CXMLUtilities;

// A red dashed line a graphic report draws between two block references named by their handles,
// optionally labelled at its middle.
class CLinkLine {
public:
    static constexpr const char* kDefaultLayer = "_KORVA";
    static constexpr const char* kLinetype = "T_E_S_T";
    static constexpr double kLabelHeight = 150.0;

    CLinkLine() = default;
    CLinkLine(std::string startHandle, std::string endHandle, std::string layerName, std::string labelText)
        : startHandle_(std::move(startHandle)), endHandle_(std::move(endHandle)), layerName_(std::move(layerName)),
          labelText_(std::move(labelText)) {}
    virtual ~CLinkLine() = default;

    const std::string& getStartHandle() const { return startHandle_; }
    void setStartHandle(std::string handle) { startHandle_ = std::move(handle); }
    const std::string& getEndHandle() const { return endHandle_; }
    void setEndHandle(std::string handle) { endHandle_ = std::move(handle); }
    const std::string& getLayerName() const { return layerName_; }
    void setLayerName(std::string name) { layerName_ = std::move(name); }
    const std::string& getLabelText() const { return labelText_; }
    void setLabelText(std::string text) { labelText_ = std::move(text); }

    // The insertion point of the block reference the handle names, whose layer is then marked on
    // in the state; (0, 0, 0) for a handle that names nothing or no block reference.
    static cad::Point3d getAssetCurrentCoord(CAcadDrawing& drawing, const std::string& handle,
                                             CAcadDrawingState& state);
    // The rotation of a label on the line from start to end: the line's slope as an angle, a
    // quarter turn for a vertical line, 0 when the ends coincide.
    static double labelRotation(const cad::Point3d& start, const cad::Point3d& end);
    // Draws the line (red, dashed "T_E_S_T", on its layer, "_KORVA" when none is named) in model
    // space, and its label when it has one.
    void applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state) const;

    // <linkLine> with linkStartHandle, linkEndHandle, linkLineLayer and linkLineText.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

private:
    std::string startHandle_;
    std::string endHandle_;
    std::string layerName_;
    std::string labelText_;
};
