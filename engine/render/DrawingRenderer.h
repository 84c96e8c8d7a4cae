#pragma once
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/db/ObjectId.h"
#include "engine/geometry/Extents2d.h"
#include "engine/render/ImageFiles.h"
#include "engine/render/RenderReport.h"
#include "engine/render/RenderTypes.h"
#include "engine/render/StyleResolver.h"

namespace cad {

class Canvas;
class Database;
class FontLibrary;

// The format a file name asks for by its extension (any letter case); nothing for others.
std::optional<ImageFormat> imageFormatForPath(std::string_view path);

// Draws one layout of a drawing: model space, or a paper sheet with the model seen through its
// viewports. The drawing must not change while the renderer lives.
class DrawingRenderer {
public:
    DrawingRenderer(const Database& db, FontLibrary& fonts);
    ~DrawingRenderer();

    // "Model" (or empty) for model space, else a paper layout by name (any letter case). False
    // with a message naming the layouts there are when there is no such layout.
    bool selectLayout(std::string_view name, std::string& error);
    bool isModelLayout() const { return model_; }
    ObjectId layoutBlock() const { return block_; }

    // The box of everything the layout shows, in its drawing units; empty for an empty layout.
    Extents2d measure();
    // Draws the layout with `toDevice` mapping its drawing units to the canvas.
    void draw(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights);
    // Texts smaller than this (device units of capital height) are drawn as boxes; 0 draws all.
    void setGreekingHeight(double deviceUnits) { greekBelow_ = deviceUnits; }
    // What the last draw() drew and skipped.
    const RenderReport& report() const { return report_; }

private:
    // Large model spaces on two threads; nothing when small or when no thread can be had.
    std::optional<Extents2d> measureInHalves();
    // The same for drawing, where the canvas makes parts; false when it was not drawn so.
    bool drawInHalves(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights);
    void paint(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights, bool measuring,
               RenderReport& report);

    const Database& db_;
    FontLibrary& fonts_;
    ObjectId block_;
    bool model_ = true;
    double greekBelow_ = 0.0;
    RenderReport report_;
    // Draw orders of the blocks, for measuring and drawing alike.
    std::unordered_map<ObjectId, std::vector<ObjectId>> orders_;
    // The second half's fonts, from measuring to drawing: painters share nothing they change.
    std::unique_ptr<FontLibrary> halfFonts_;
};

// A picture of a layout written to a file.
struct RenderOptions {
    std::string layout;                // empty: model space
    int width = 1600;                  // pixels for PNG and JPEG, points for PDF and SVG
    std::optional<Extents2d> window;   // the part shown, in the layout's drawing units; else all
    double margin = 0.02;              // blank border around the extents, as a fraction of the larger side
};

struct RenderResult {
    bool ok = false;
    std::string error;  // names the file or the option at fault
    RenderReport report;
    int width = 0, height = 0;  // of the picture, in pixels or points
};

// Renders to PNG, SVG, PDF or JPEG by the file's extension. The file is written under a
// temporary name and renamed, so a failure never leaves half a picture.
RenderResult renderDrawingToFile(const Database& db, const RenderOptions& options, const std::string& path);

}  // namespace cad
