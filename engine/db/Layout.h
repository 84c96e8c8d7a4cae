#pragma once
#include <string>
#include <vector>

#include "engine/db/DbObject.h"
#include "engine/geometry/Point2d.h"
#include "engine/geometry/Point3d.h"
#include "engine/geometry/Vector3d.h"

namespace cad {

// The page set-up part of a layout (AcDbPlotSettings).
struct PlotSettings {
    std::string pageSetupName;
    std::string plotConfigurationName = "none_device";
    std::string canonicalMediaName = "ISO_A3_(420.00_x_297.00_MM)";
    std::string plotViewName;
    std::string styleSheet;
    double marginLeft = 7.5, marginBottom = 20.0, marginRight = 7.5, marginTop = 20.0;
    double paperWidth = 420.0, paperHeight = 297.0;
    Point2d plotOrigin;
    Point2d windowMin, windowMax;
    double scaleNumerator = 1.0, scaleDenominator = 1.0;  // 142 / 143
    int layoutFlags = 688;                                  // 70
    int paperUnits = 1;                                     // 72: 0 inches, 1 mm, 2 pixels
    int rotation = 0;                                       // 73: quarter turns
    int plotType = 5;                                       // 74: 5 = layout
    int standardScaleType = 16;                             // 75: 16 = 1:1
    int shadePlotMode = 0, shadePlotResLevel = 2, shadePlotDpi = 300;
    double standardScale = 1.0;                             // 147
    Point2d paperImageOrigin;                               // 148 / 149
};

// A layout (Model or a paper sheet), an entry of the ACAD_LAYOUT dictionary.
class Layout : public DbObject {
public:
    Layout() : DbObject("LAYOUT") {}
    ObjectKind kind() const override { return ObjectKind::Layout; }
    std::string_view className() const override { return "AcDbLayout"; }
    std::unique_ptr<DbObject> clone() const override { return std::make_unique<Layout>(*this); }
    void remapIds(const IdMapping& mapping) override;

    const std::string& layoutName() const { return name_; }
    void setLayoutName(std::string name) { assign(name_, std::move(name)); }
    int tabOrder() const { return tabOrder_; }
    void setTabOrder(int order) { assign(tabOrder_, order); }
    bool isModelLayout() const;
    // The block record holding the layout's entities.
    ObjectId blockTableRecordId() const { return block_; }
    void setBlockTableRecordId(ObjectId id) { assign(block_, id); }
    ObjectId lastActiveViewportId() const { return lastViewport_; }
    void setLastActiveViewportId(ObjectId id) { assign(lastViewport_, id); }
    // Paper-space viewports of the layout's block, the sheet viewport first.
    std::vector<ObjectId> viewportIds() const;

    PlotSettings& plotSettings() { touch(); return plot_; }
    const PlotSettings& plotSettings() const { return plot_; }

    int layoutFlags() const { return flags_; }
    void setLayoutFlags(int flags) { assign(flags_, flags); }
    Point2d limitsMin{0, 0}, limitsMax{420, 297};
    Point3d insertionBase;
    Point3d extentsMin{1e20, 1e20, 1e20}, extentsMax{-1e20, -1e20, -1e20};
    double elevation = 0.0;
    Point3d ucsOrigin;
    Vector3d ucsXAxis = Vector3d::xAxis(), ucsYAxis = Vector3d::yAxis();
    int ucsType = 1;

private:
    std::string name_;
    int tabOrder_ = 0;
    int flags_ = 1;
    ObjectId block_, lastViewport_;
    PlotSettings plot_;
};

}  // namespace cad
