#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "engine/geometry/Extents2d.h"
#include "engine/render/RenderReport.h"

namespace cad {

class Database;
struct PlotSettings;

// The plot devices this host can drive, by configuration name; anything else (the DWF
// configuration, "none_device") has no driver here.
enum class PlotDevice { Pdf, Jpeg, Png };
std::optional<PlotDevice> plotDeviceForConfiguration(std::string_view configurationName);
// ".pdf", ".jpg", ".png".
const char* plotDeviceExtension(PlotDevice device);

// Paper size of a canonical media name such as "ISO_A3_(420.00_x_297.00_MM)" or
// "ANSI_A_(11.00_x_8.50_Inches)", in millimetres; nothing for a name without a size.
struct MediaSize {
    double widthMm = 0, heightMm = 0;
    bool inches = false;
};
std::optional<MediaSize> mediaSizeForName(std::string_view canonicalMediaName);

// Paper units per drawing unit of a standard scale type (1..34; 16 is 1:1), for paper in inches
// or millimetres; nothing for 0 (scale to fit) and unknown types.
std::optional<double> standardScaleFactor(int standardScaleType, bool inchPaper);

// One sheet to plot: what the layout's plot settings hold, as a plot settings validator sets them.
struct PlotJob {
    std::string layout;              // empty or "Model": model space
    std::string configuration;       // "DWG To PDF.pc3", "PublishToWeb JPG.pc3", "PublishToWeb PNG.pc3"
    std::string mediaName;           // canonical media name
    // 0 display (the current view of model space), 1 extents, 2 limits, 3 view, 4 window,
    // 5 layout (the sheet's limits); where the drawing gives no such area, its extents.
    int plotType = 1;
    int standardScaleType = 0;       // 0 scale to fit
    bool useStandardScale = true;
    bool centred = true;
    int quarterTurns = 0;            // rotation of the drawing on the sheet, counter-clockwise
    Extents2d window;                // for plot type 4, in the layout's drawing units
    std::string viewName;            // for plot type 3, a view of the drawing's VIEW table
    double rasterDpi = 100.0;        // pixels per inch of the JPG and PNG devices
};

// Fills a job from a layout's plot settings (device, media, area, scale, centring, rotation).
PlotJob plotJobFromSettings(const PlotSettings& settings, std::string layout);

struct PlotOutcome {
    enum class Status { Plotted, DeviceNotAvailable, Failed } status = Status::Failed;
    std::string message;                 // what went wrong, naming the device or the file
    double pageWidthMm = 0, pageHeightMm = 0;
    int pixelWidth = 0, pixelHeight = 0;  // raster devices
    RenderReport report;
};

// Plots the job to `file`, whose extension must be the device's. A device without a driver
// here writes nothing and says so; so does a file name of another format.
PlotOutcome plotToFile(const Database& db, const PlotJob& job, const std::string& file);

}  // namespace cad
