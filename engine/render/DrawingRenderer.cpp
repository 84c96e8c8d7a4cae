#include "engine/render/DrawingRenderer.h"


#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/db/Viewport.h"
#include "engine/render/BatchCanvas.h"
#include "engine/render/Canvas.h"
#include "engine/render/DrawingPainter.h"
#include "engine/render/FontLibrary.h"
#include "engine/text/AsciiText.h"
#include "engine/render/ImageFiles.h"

namespace cad {

namespace {

constexpr int kMaxPixels = 20000;
// Each viewport draws the whole model again; a layout of more than this many is not a sheet.
constexpr int kMaxViewports = 100;
// A model space of at least this many entities is measured, and drawn where the canvas can, in
// two halves at once.
constexpr std::size_t kHalvesFrom = 20000;

}  // namespace

std::optional<ImageFormat> imageFormatForPath(std::string_view path) {
    const std::string ext = toLowerAscii(std::filesystem::path(std::string(path)).extension().string());
    if (ext == ".png") return ImageFormat::Png;
    if (ext == ".svg") return ImageFormat::Svg;
    if (ext == ".pdf") return ImageFormat::Pdf;
    if (ext == ".jpg" || ext == ".jpeg") return ImageFormat::Jpeg;
    return std::nullopt;
}

DrawingRenderer::DrawingRenderer(const Database& db, FontLibrary& fonts) : db_(db), fonts_(fonts) {
    block_ = db.modelSpaceId();
}

DrawingRenderer::~DrawingRenderer() = default;

bool DrawingRenderer::selectLayout(std::string_view name, std::string& error) {
    if (name.empty() || toLowerAscii(name) == "model") {
        block_ = db_.modelSpaceId();
        model_ = true;
        return true;
    }
    std::string known;
    for (ObjectId id : db_.layouts())
        if (const auto* layout = dynamic_cast<const Layout*>(db_.objectAt(id))) {
            if (toLowerAscii(layout->layoutName()) == toLowerAscii(name) && !layout->blockTableRecordId().isNull()) {
                block_ = layout->blockTableRecordId();
                model_ = layout->isModelLayout();
                return true;
            }
            known += (known.empty() ? "" : ", ") + layout->layoutName();
        }
    error = "no layout named \"" + std::string(name) + "\" (the drawing has: " + (known.empty() ? "Model" : known) + ")";
    return false;
}

void DrawingRenderer::paint(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights, bool measuring,
                            RenderReport& report) {
    StyleResolver styles(db_, weights);
    DrawingPainter painter(db_, canvas, fonts_, styles, report);
    painter.shareBlockOrders(orders_);
    painter.setMeasuring(measuring);
    painter.setGreekingHeight(greekBelow_);
    painter.setWorldToDevice(toDevice);
    int viewports = 0;  // outlives the handler, which runs while the layout is painted below
    if (!model_) {
        painter.setViewportHandler([&](const Viewport& vp) {
            if (vp.number() == 1 || !vp.isOn() || !(vp.width() > 0) || !(vp.height() > 0) || !(vp.viewHeight() > 0))
                return;
            if (++viewports > kMaxViewports) {
                report.skip("VIEWPORT (beyond " + std::to_string(kMaxViewports) + " in the layout)");
                return;
            }
            const Point2d c(vp.centerPoint().x, vp.centerPoint().y);
            const double hw = vp.width() / 2, hh = vp.height() / 2;
            DevicePath frame;
            frame.runs.push_back({{toDevice.apply({c.x - hw, c.y - hh}), toDevice.apply({c.x + hw, c.y - hh}),
                                   toDevice.apply({c.x + hw, c.y + hh}), toDevice.apply({c.x - hw, c.y + hh})},
                                  true});
            if (measuring) {
                canvas.fill(frame, Rgb{});
                return;
            }
            // Model space seen through the window: the view centre lands on the viewport's centre.
            const double scale = vp.customScale();
            const Point2d target(vp.viewTarget().x + vp.viewCenter().x, vp.viewTarget().y + vp.viewCenter().y);
            const Affine2d modelToPaper = Affine2d::translation(c.x, c.y) * Affine2d::rotation(vp.twistAngle()) *
                                          Affine2d::scaling(scale, scale) * Affine2d::translation(-target.x, -target.y);
            canvas.pushClip(frame);
            DrawingPainter inner(db_, canvas, fonts_, styles, report);
            inner.shareBlockOrders(orders_);
            inner.setGreekingHeight(greekBelow_);
            inner.setWorldToDevice(toDevice * modelToPaper);
            PaintContext context;
            context.viewport = &vp;
            inner.paintBlock(db_.modelSpaceId(), context);
            canvas.popClip();
        });
    }
    painter.paintBlock(block_, PaintContext{});
}

Extents2d DrawingRenderer::measure() {
    if (model_)
        if (const auto halves = measureInHalves()) return *halves;
    BoundsCanvas bounds;
    RenderReport ignored;
    paint(bounds, Affine2d{}, LineWeightScale{1.0, 0.0, 0}, true, ignored);
    return bounds.bounds();
}

std::optional<Extents2d> DrawingRenderer::measureInHalves() {
    const std::vector<ObjectId>& order = orders_.try_emplace(block_, DrawingPainter::paintOrder(db_, block_)).first->second;
    if (order.size() < kHalvesFrom) return std::nullopt;
    const std::size_t half = order.size() / 2;
    const LineWeightScale weights{1.0, 0.0, 0};
    // The second half has fonts, styles and block orders of its own.
    if (!halfFonts_) halfFonts_ = std::make_unique<FontLibrary>();
    BoundsCanvas second;
    RenderReport secondReport;
    bool secondTookOtherFonts = false;
    std::exception_ptr failed;
    auto measureSecond = [&, orders = DrawingPainter::BlockOrders{{block_, order}}]() mutable {
        try {
            StyleResolver styles(db_, weights);
            DrawingPainter painter(db_, second, *halfFonts_, styles, secondReport);
            painter.shareBlockOrders(orders);
            painter.setMeasuring(true);
            painter.paintBlock(block_, PaintContext{}, half, SIZE_MAX);
            secondTookOtherFonts = halfFonts_->lookedForOtherFonts();
        } catch (...) {
            failed = std::current_exception();
        }
    };
    FontLibrary::loadConfiguration();
    BoundsCanvas first;
    RenderReport firstReport;
    StyleResolver styles(db_, weights);
    DrawingPainter painter(db_, first, fonts_, styles, firstReport);
    painter.shareBlockOrders(orders_);
    painter.setMeasuring(true);
    {
        std::jthread worker;  // joined on leaving the block, whatever is thrown
        try {
            worker = std::jthread(std::move(measureSecond));
        } catch (const std::system_error&) {
            return std::nullopt;
        }
        painter.paintBlock(block_, PaintContext{}, 0, half);
    }
    if (failed) std::rethrow_exception(failed);
    // Which font draws a character its style's font lacks depends on the fonts taken before: such
    // a second half is measured again after the first, with the fonts drawing will take.
    if (secondTookOtherFonts) {
        painter.paintBlock(block_, PaintContext{}, half, SIZE_MAX);
        second = BoundsCanvas{};
        secondReport = RenderReport{};
    }
    // Past the copy limit the halves would not skip the references that one painting skips.
    if (firstReport.blockCopies + secondReport.blockCopies >= DrawingPainter::kMaxBlockCopies) return std::nullopt;
    Extents2d box = first.bounds();
    box.addExtents(second.bounds());
    return box;
}

bool DrawingRenderer::drawInHalves(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights) {
    const std::vector<ObjectId>& order = orders_.try_emplace(block_, DrawingPainter::paintOrder(db_, block_)).first->second;
    // Measuring found the second half needs fonts the first may have taken before it.
    if (order.size() < kHalvesFrom || (halfFonts_ && halfFonts_->lookedForOtherFonts())) return false;
    if (!halfFonts_) halfFonts_ = std::make_unique<FontLibrary>();
    std::unique_ptr<Canvas> part = canvas.startPart();
    if (!part) return false;
    const std::size_t half = order.size() / 2;
    RenderReport partReport;
    std::exception_ptr failed;
    auto paintSecond = [&, orders = DrawingPainter::BlockOrders{{block_, order}}]() mutable {
        try {
            StyleResolver styles(db_, weights);
            DrawingPainter painter(db_, *part, *halfFonts_, styles, partReport);
            painter.shareBlockOrders(orders);
            painter.setGreekingHeight(greekBelow_);
            painter.setWorldToDevice(toDevice);
            painter.paintBlock(block_, PaintContext{}, half, SIZE_MAX);
        } catch (...) {
            failed = std::current_exception();
        }
    };
    FontLibrary::loadConfiguration();
    StyleResolver styles(db_, weights);
    DrawingPainter painter(db_, canvas, fonts_, styles, report_);
    painter.shareBlockOrders(orders_);
    painter.setGreekingHeight(greekBelow_);
    painter.setWorldToDevice(toDevice);
    {
        std::jthread worker;  // joined on leaving the block, whatever is thrown
        try {
            worker = std::jthread(std::move(paintSecond));
        } catch (const std::system_error&) {
            return false;
        }
        painter.paintBlock(block_, PaintContext{}, 0, half);
    }
    if (failed) std::rethrow_exception(failed);
    // As in measuring: other fonts, or past the copy limit, the halves would not give the picture
    // one painting gives; the second half is drawn again after the first.
    if (halfFonts_->lookedForOtherFonts() || report_.blockCopies + partReport.blockCopies >= DrawingPainter::kMaxBlockCopies) {
        part.reset();
        painter.paintBlock(block_, PaintContext{}, half, SIZE_MAX);
        return true;
    }
    canvas.appendPart(std::move(part));
    report_.add(partReport);
    return true;
}

void DrawingRenderer::draw(Canvas& canvas, const Affine2d& toDevice, const LineWeightScale& weights) {
    report_ = RenderReport{};
    if (model_ && drawInHalves(canvas, toDevice, weights)) return;
    paint(canvas, toDevice, weights, false, report_);
}

RenderResult renderDrawingToFile(const Database& db, const RenderOptions& options, const std::string& path) {
    RenderResult result;
    const auto format = imageFormatForPath(path);
    if (!format) {
        result.error = "cannot render to \"" + path + "\": the name must end in .png, .svg, .pdf or .jpg";
        return result;
    }
    if (options.width < 16 || options.width > kMaxPixels) {
        result.error = "width " + std::to_string(options.width) + " is outside 16 to " + std::to_string(kMaxPixels);
        return result;
    }
    result.error = missingFolderError(path);
    if (!result.error.empty()) return result;
    FontLibrary fonts;
    DrawingRenderer renderer(db, fonts);
    if (!renderer.selectLayout(options.layout, result.error)) return result;
    Extents2d box = options.window ? *options.window : renderer.measure();
    if (box.isEmpty()) box = Extents2d({0, 0}, {1, 1});
    double w = box.width(), h = box.height();
    if (!(w > 0) && !(h > 0)) w = h = 1.0;
    else if (!(w > 0)) w = h;
    else if (!(h > 0)) h = w;
    // A window given is shown exactly; measured extents get their blank border.
    const double margin = options.window ? 0.0 : std::max(w, h) * std::clamp(options.margin, 0.0, 0.4);
    const Point2d center = box.center();
    w += 2 * margin;
    h += 2 * margin;
    const int width = options.width;
    const int height = std::clamp(static_cast<int>(std::lround(width * h / w)), 1, kMaxPixels);
    const double scale = std::min(width / w, height / h);
    // Drawing y points up, device y down.
    const Affine2d toDevice = Affine2d::translation(width / 2.0, height / 2.0) * Affine2d::scaling(scale, -scale) *
                              Affine2d::translation(-center.x, -center.y);
    const bool vector = *format == ImageFormat::Svg || *format == ImageFormat::Pdf;
    const LineWeightScale weights = vector ? LineWeightScale{72.0 / 25.4, 0.35, 25} : LineWeightScale{96.0 / 25.4, 1.0, 25};

    result.width = width;
    result.height = height;
    const bool written = writePicture(path, *format, width, height, width, height, [&](BatchCanvas& canvas) {
        canvas.paintBackground(Rgb{255, 255, 255});
        // Pixels cannot show capitals under two pixels high; a PDF or SVG can be zoomed into.
        renderer.setGreekingHeight(vector ? 0.0 : 2.0);
        renderer.draw(canvas, toDevice, weights);
        return canvas.error();
    }, result.error);
    result.report = renderer.report();
    if (!written) return result;
    result.ok = true;
    return result;
}

}  // namespace cad
