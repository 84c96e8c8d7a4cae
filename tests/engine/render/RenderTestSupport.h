#pragma once
#include <cairo.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/db/Hatch.h"
#include "engine/db/LinetypeTableRecord.h"
#include "engine/db/Text.h"
#include "engine/db/UnknownEntity.h"
#include "engine/render/DrawingRenderer.h"
#include "tests/engine/db/DbTestSupport.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace cad::test {

// A fresh folder removed with everything in it.
using RenderDir = dxftest::TempDir;

struct Pixel {
    int r = 255, g = 255, b = 255;
    bool isWhite() const { return r > 245 && g > 245 && b > 245; }
    // Ink: clearly darker or more coloured than the white sheet.
    bool isInk() const { return r < 200 || g < 200 || b < 200; }
};

// A PNG read back into memory.
class Picture {
public:
    explicit Picture(const std::string& png) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(s);
            throw std::runtime_error("cannot read " + png);
        }
        cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(s),
                                                          cairo_image_surface_get_height(s));
        cairo_t* cr = cairo_create(rgb);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(rgb);
        width_ = cairo_image_surface_get_width(rgb);
        height_ = cairo_image_surface_get_height(rgb);
        const int stride = cairo_image_surface_get_stride(rgb);
        const unsigned char* data = cairo_image_surface_get_data(rgb);
        pixels_.resize(static_cast<std::size_t>(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                pixels_[static_cast<std::size_t>(y) * width_ + x] =
                    reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x];
        cairo_surface_destroy(rgb);
        cairo_surface_destroy(s);
    }
    int width() const { return width_; }
    int height() const { return height_; }
    Pixel at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return Pixel{};
        const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
        return Pixel{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
    }
    std::size_t inkCount() const {
        std::size_t n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += at(x, y).isInk();
        return n;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Pixel box of the ink: left, top, right, bottom (right < left when there is none).
inline std::array<int, 4> inkBox(const Picture& pic) {
    std::array<int, 4> box{pic.width(), pic.height(), -1, -1};
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            if (pic.at(x, y).isInk()) {
                box[0] = std::min(box[0], x);
                box[1] = std::min(box[1], y);
                box[2] = std::max(box[2], x);
                box[3] = std::max(box[3], y);
            }
    return box;
}

// Renders model space over exactly `window` (no margin) at `width` pixels, so that drawing points
// map to known pixels.
struct Shot {
    RenderResult result;
    std::unique_ptr<Picture> picture;
    Extents2d window;
    // Pixel of a drawing point.
    int px(double x) const { return static_cast<int>(std::floor((x - window.minPoint().x) * scale())); }
    int py(double y) const { return static_cast<int>(std::floor((window.maxPoint().y - y) * scale())); }
    Pixel at(double x, double y) const { return picture->at(px(x), py(y)); }
    double scale() const { return picture->width() / window.width(); }
};

inline Shot shoot(const Database& db, const RenderDir& dir, Extents2d window, int width = 400,
                  const std::string& name = "shot.png", std::string layout = {}) {
    Shot shot;
    RenderOptions options;
    options.width = width;
    options.window = window;
    options.margin = 0;
    options.layout = std::move(layout);
    shot.window = window;
    shot.result = renderDrawingToFile(db, options, dir.file(name));
    EXPECT_TRUE(shot.result.ok) << shot.result.error;
    if (shot.result.ok) shot.picture = std::make_unique<Picture>(dir.file(name));
    return shot;
}

// Share of the ink of `a` that has ink of `b` within `radius` pixels.
inline double inkNear(const Picture& a, const Picture& b, int radius) {
    std::size_t ink = 0, near = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            if (!a.at(x, y).isInk()) continue;
            ++ink;
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx) found = b.at(x + dx, y + dy).isInk();
            near += found;
        }
    return ink == 0 ? 1.0 : static_cast<double>(near) / ink;
}

// A solid hatch of the colour index with one outer loop per ring.
inline std::unique_ptr<Hatch> solidHatch(std::vector<std::vector<Point2d>> rings, int color) {
    auto hatch = std::make_unique<Hatch>();
    hatch->setPattern(Hatch::PatternType::Predefined, "SOLID");
    for (const auto& ring : rings) {
        std::vector<BulgeVertex> vs;
        for (const Point2d& p : ring) vs.push_back({p, 0.0});
        hatch->appendLoop(HatchLoop::kPolyline | HatchLoop::kExternal, std::move(vs));
    }
    hatch->setColorIndex(color);
    return hatch;
}

// A linetype "TESTDASH": dashes two units long with gaps of one.
inline ObjectId addDashedLinetype(Database& db) {
    auto* linetypes = static_cast<SymbolTable*>(db.objectAt(db.linetypeTableId()));
    auto dashed = std::make_unique<LinetypeTableRecord>("TESTDASH");
    LinetypeTableRecord::Dash on, off;
    on.length = 2.0;
    off.length = -1.0;
    dashed->setDashes({on, off});
    ObjectId id;
    EXPECT_EQ(linetypes->add(std::move(dashed), &id), ErrorStatus::eOk);
    return id;
}

// An entity the database keeps as tags (SOLID, ELLIPSE, MTEXT ...).
inline std::unique_ptr<UnknownEntity> rawEntity(const std::string& name, const std::string& subclass,
                                                RawTagList tags) {
    auto e = std::make_unique<UnknownEntity>(name, subclass);
    e->tags = std::move(tags);
    return e;
}

// A single-line text of `height` at `at`.
inline std::unique_ptr<Text> textAt(const std::string& value, Point3d at, double height) {
    auto t = std::make_unique<Text>();
    t->setTextString(value);
    t->setPosition(at);
    t->setHeight(height);
    return t;
}

// Ink pixels in the drawing box [x0, x1] x [y0, y1], or those `test` accepts.
inline int inkIn(const Shot& shot, double x0, double y0, double x1, double y1,
                 bool (*test)(const Pixel&) = nullptr) {
    int n = 0;
    for (int py = shot.py(y1); py <= shot.py(y0); ++py)
        for (int px = shot.px(x0); px <= shot.px(x1); ++px) {
            const Pixel p = shot.picture->at(px, py);
            n += test ? test(p) : p.isInk();
        }
    return n;
}

}  // namespace cad::test
