#include "engine/render/Plotter.h"


#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <numbers>

#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/render/BatchCanvas.h"
#include "engine/render/DrawingRenderer.h"
#include "engine/render/FontLibrary.h"
#include "engine/text/AsciiText.h"
#include "engine/render/ImageFiles.h"
#include "engine/render/RawEntity.h"

namespace cad {

namespace {

constexpr double kMmPerInch = 25.4;

}  // namespace

std::optional<PlotDevice> plotDeviceForConfiguration(std::string_view name) {
    const std::string n = toLowerAscii(name);
    if (n == "dwg to pdf.pc3") return PlotDevice::Pdf;
    if (n == "publishtoweb jpg.pc3") return PlotDevice::Jpeg;
    if (n == "publishtoweb png.pc3") return PlotDevice::Png;
    return std::nullopt;
}

const char* plotDeviceExtension(PlotDevice device) {
    switch (device) {
        case PlotDevice::Pdf: return ".pdf";
        case PlotDevice::Jpeg: return ".jpg";
        case PlotDevice::Png: return ".png";
    }
    return "";
}

std::optional<MediaSize> mediaSizeForName(std::string_view name) {
    const std::size_t open = name.rfind('(');
    const std::size_t close = name.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return std::nullopt;
    const std::string inside(name.substr(open + 1, close - open - 1));  // "841.00_x_594.00_MM"
    const std::size_t x = inside.find("_x_");
    if (x == std::string::npos) return std::nullopt;
    const std::size_t unit = inside.rfind('_');
    if (unit == std::string::npos || unit <= x + 3) return std::nullopt;
    char* end = nullptr;
    const std::string first = inside.substr(0, x), second = inside.substr(x + 3, unit - x - 3);
    const double w = std::strtod(first.c_str(), &end);
    if (end != first.c_str() + first.size()) return std::nullopt;
    const double h = std::strtod(second.c_str(), &end);
    if (end != second.c_str() + second.size()) return std::nullopt;
    const std::string u = toLowerAscii(inside.substr(unit + 1));
    if (!(w > 0) || !(h > 0) || (u != "mm" && u != "inches")) return std::nullopt;
    MediaSize size;
    size.inches = u == "inches";
    const double factor = size.inches ? kMmPerInch : 1.0;
    size.widthMm = w * factor;
    size.heightMm = h * factor;
    return size;
}

std::optional<double> standardScaleFactor(int type, bool inchPaper) {
    // Architectural scales: paper inches per drawing foot (the drawing in inches).
    static constexpr double kInchPerFoot[] = {0, 1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 16, 3.0 / 32, 1.0 / 8, 3.0 / 16,
                                              1.0 / 4, 3.0 / 8, 1.0 / 2, 3.0 / 4, 1, 3, 6, 12};
    // Ratios paper : drawing, types 16 to 33.
    static constexpr double kRatio[] = {1, 1.0 / 2, 1.0 / 4, 1.0 / 5, 1.0 / 8, 1.0 / 10, 1.0 / 16, 1.0 / 20, 1.0 / 30,
                                        1.0 / 40, 1.0 / 50, 1.0 / 100, 2, 4, 8, 10, 100, 1000};
    if (type >= 1 && type <= 15) {
        const double paperInchPerDrawingInch = kInchPerFoot[type] / 12.0;
        return inchPaper ? paperInchPerDrawingInch : paperInchPerDrawingInch * kMmPerInch;
    }
    if (type >= 16 && type <= 33) return kRatio[type - 16];
    if (type == 34) {  // 1 1/2" = 1'
        const double paperInchPerDrawingInch = 1.5 / 12.0;
        return inchPaper ? paperInchPerDrawingInch : paperInchPerDrawingInch * kMmPerInch;
    }
    return std::nullopt;
}

PlotJob plotJobFromSettings(const PlotSettings& s, std::string layout) {
    PlotJob job;
    job.layout = std::move(layout);
    job.configuration = s.plotConfigurationName;
    job.mediaName = s.canonicalMediaName;
    job.plotType = s.plotType;
    job.useStandardScale = (s.layoutFlags & 16) != 0;
    job.standardScaleType = s.standardScaleType;
    job.centred = (s.layoutFlags & 4) != 0;
    job.quarterTurns = s.rotation;
    job.window = Extents2d(s.windowMin, s.windowMax);
    job.viewName = s.plotViewName;
    return job;
}

PlotOutcome plotToFile(const Database& db, const PlotJob& job, const std::string& file) {
    PlotOutcome out;
    const auto device = plotDeviceForConfiguration(job.configuration);
    if (!device) {
        out.status = PlotOutcome::Status::DeviceNotAvailable;
        out.message = "plot device \"" + job.configuration + "\" is not available on this host (PDF, JPG and PNG are)";
        return out;
    }
    const std::string ext = toLowerAscii(std::filesystem::path(file).extension().string());
    if (ext != plotDeviceExtension(*device) && !(*device == PlotDevice::Jpeg && ext == ".jpeg")) {
        out.message = "plot file \"" + file + "\" does not end in " + plotDeviceExtension(*device) + ", the extension of \"" +
                      job.configuration + "\"";
        return out;
    }
    const auto media = mediaSizeForName(job.mediaName);
    if (!media) {
        out.message = "unknown media \"" + job.mediaName + "\"";
        return out;
    }
    out.message = missingFolderError(file);
    if (!out.message.empty()) return out;
    FontLibrary fonts;
    DrawingRenderer renderer(db, fonts);
    if (!renderer.selectLayout(job.layout, out.message)) return out;

    // The area plotted, in the layout's drawing units.
    Extents2d area;
    switch (job.plotType) {
        case 0:
            if (renderer.isModelLayout())
                if (const auto* active = dynamic_cast<const ViewportTableRecord*>(
                        db.objectAt(db.recordId(TableKind::Viewport, "*Active")))) {
                    const Point2d c = active->centerPoint();
                    const Vector2d half{active->width() / 2, active->height() / 2};
                    area = Extents2d(c - half, c + half);
                }
            break;
        case 3:
            if (!job.viewName.empty())
                if (const auto* view = dynamic_cast<const SymbolTableRecord*>(
                        db.objectAt(db.recordId(TableKind::View, job.viewName)))) {
                    // A view keeps its centre (10, 20), height (40) and width (41) as tags.
                    const RawEntity tags(view->extraTags());
                    const auto c = tags.point(10);
                    const double h = tags.real(40, 0.0), w = tags.real(41, 0.0);
                    if (c && h > 0 && w > 0) area = Extents2d({c->x - w / 2, c->y - h / 2}, {c->x + w / 2, c->y + h / 2});
                }
            break;
        case 2: {
            if (renderer.isModelLayout()) {
                auto lo = db.header().getPoint("$LIMMIN"), hi = db.header().getPoint("$LIMMAX");
                if (lo && hi) area = Extents2d({lo->x, lo->y}, {hi->x, hi->y});
            } else if (const auto* layout = dynamic_cast<const Layout*>(db.objectAt(db.layoutId(job.layout)))) {
                area = Extents2d(layout->limitsMin, layout->limitsMax);
            }
            break;
        }
        case 4: area = job.window; break;
        case 5:
            if (!renderer.isModelLayout())
                if (const auto* layout = dynamic_cast<const Layout*>(db.objectAt(db.layoutId(job.layout))))
                    area = Extents2d(layout->limitsMin, layout->limitsMax);
            break;
        default: break;  // extents
    }
    if (area.isEmpty() || !(area.width() > 0) || !(area.height() > 0)) area = renderer.measure();
    if (area.isEmpty()) area = Extents2d({0, 0}, {1, 1});
    double aw = std::max(area.width(), 1e-9), ah = std::max(area.height(), 1e-9);

    const int turns = ((job.quarterTurns % 4) + 4) % 4;
    const double pageW = media->widthMm, pageH = media->heightMm;
    // Size of the area on the sheet per drawing unit.
    const bool sideways = turns % 2 == 1;
    const double fitW = sideways ? ah : aw, fitH = sideways ? aw : ah;
    double mmPerUnit = std::min(pageW / fitW, pageH / fitH);
    if (job.useStandardScale && job.standardScaleType != 0)
        if (auto f = standardScaleFactor(job.standardScaleType, media->inches))
            mmPerUnit = *f * (media->inches ? kMmPerInch : 1.0);
    // Drawing -> sheet millimetres, y up: rotate about the area's centre, then place.
    const Point2d c = area.center();
    Affine2d toSheet = Affine2d::rotation(turns * std::numbers::pi / 2) * Affine2d::scaling(mmPerUnit, mmPerUnit) *
                       Affine2d::translation(-c.x, -c.y);
    const double placedW = fitW * mmPerUnit, placedH = fitH * mmPerUnit;
    const Point2d at = job.centred ? Point2d(pageW / 2, pageH / 2) : Point2d(placedW / 2, placedH / 2);
    toSheet = Affine2d::translation(at.x, at.y) * toSheet;

    const bool raster = *device != PlotDevice::Pdf;
    const double unitsPerMm = raster ? job.rasterDpi / kMmPerInch : 72.0 / kMmPerInch;
    const double devW = pageW * unitsPerMm, devH = pageH * unitsPerMm;
    const int pixW = static_cast<int>(std::lround(devW)), pixH = static_cast<int>(std::lround(devH));
    if (raster && (pixW > 20000 || pixH > 20000 || pixW < 1 || pixH < 1)) {
        out.message = "media \"" + job.mediaName + "\" is too large for a picture at this resolution";
        return out;
    }
    const Affine2d toDevice = Affine2d{unitsPerMm, 0, 0, -unitsPerMm, 0, devH} * toSheet;
    // Line weights print at their size when plotted.
    const LineWeightScale weights{unitsPerMm, raster ? 1.0 : 0.25, 25};

    const ImageFormat format = *device == PlotDevice::Pdf ? ImageFormat::Pdf
                               : *device == PlotDevice::Jpeg ? ImageFormat::Jpeg
                                                             : ImageFormat::Png;
    const bool written = writePicture(file, format, devW, devH, pixW, pixH, [&](BatchCanvas& canvas) {
        canvas.paintBackground(Rgb{255, 255, 255});
        renderer.setGreekingHeight(raster ? 2.0 : 0.0);
        renderer.draw(canvas, toDevice, weights);
        return canvas.error();
    }, out.message);
    if (!written) return out;
    out.status = PlotOutcome::Status::Plotted;
    out.report = renderer.report();
    out.pageWidthMm = pageW;
    out.pageHeightMm = pageH;
    if (raster) {
        out.pixelWidth = pixW;
        out.pixelHeight = pixH;
    }
    return out;
}

}  // namespace cad
