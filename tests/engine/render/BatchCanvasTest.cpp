// The canvas batches primitives of one style into one cairo operation; these pictures must be the
// ones drawing every primitive in order gives, and the batching must happen where it may.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "RenderTestSupport.h"
#include "engine/render/BatchCanvas.h"
#include "engine/render/CairoTarget.h"
#include "engine/render/FontLibrary.h"
#include "engine/render/PngEncoder.h"

using namespace cad;
using namespace cad::test;

namespace {

constexpr Rgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

using Surface = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;

Surface image(int w, int h) { return {cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h), cairo_surface_destroy}; }

Pixel pixelAt(cairo_surface_t* s, int x, int y) {
    cairo_surface_flush(s);
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(s) +
                                                             static_cast<std::size_t>(y) * cairo_image_surface_get_stride(s));
    const std::uint32_t v = row[x];
    return Pixel{static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v & 0xFF)};
}

DevicePath segment(double x0, double y0, double x1, double y1) {
    DevicePath p;
    p.runs.push_back({{{x0, y0}, {x1, y1}}, false});
    return p;
}

DevicePath ring(std::vector<Point2d> points) {
    DevicePath p;
    p.runs.push_back({std::move(points), true});
    return p;
}

Pen pen(Rgb color, double width) {
    Pen p;
    p.color = color;
    p.width = width;
    return p;
}

}  // namespace

TEST(BatchCanvas, OverlapsKeepTheirOrderAndSeparatedStrokesShareOneOperation) {
    Surface s = image(100, 100);
    std::size_t operations = 0;
    {
        CairoTarget target(s.get());
        BatchCanvas canvas(target);
        canvas.paintBackground(Rgb{255, 255, 255});
        // Red, then blue across it, then red again across the blue: the last red is on top there.
        canvas.stroke(segment(10, 50, 90, 50), pen(kRed, 6));
        canvas.stroke(segment(50, 10, 50, 90), pen(kBlue, 6));
        canvas.stroke(segment(10, 30, 90, 70), pen(kRed, 6));
        // Thin red strokes far from the blue one: one batch of their own, whatever comes between.
        for (int i = 0; i < 20; ++i) {
            canvas.stroke(segment(5, 5 + i * 0.2, 20, 5 + i * 0.2), pen(kRed, 1));
            canvas.stroke(segment(80, 5 + i * 0.2, 95, 5 + i * 0.2), pen(kBlue, 6));
        }
        canvas.flush();
        operations = canvas.operationCount();
        EXPECT_EQ(canvas.error(), "");
    }
    EXPECT_EQ(pixelAt(s.get(), 50, 50).r, 255) << "the later red crosses over the blue";
    EXPECT_EQ(pixelAt(s.get(), 50, 50).b, 0);
    EXPECT_EQ(pixelAt(s.get(), 50, 20).b, 255) << "blue above the first red line";
    EXPECT_EQ(pixelAt(s.get(), 30, 50).r, 255);
    // Red, blue, red, then the thin red batch; the small blue strokes joined the first blue batch.
    EXPECT_EQ(operations, 4u);
}

TEST(BatchCanvas, FillsOfOneColourThatOverlapAreNotCutByEvenOdd) {
    Surface s = image(100, 100);
    {
        CairoTarget target(s.get());
        BatchCanvas canvas(target);
        canvas.paintBackground(Rgb{255, 255, 255});
        // Two overlapping L shapes (not convex) and two overlapping triangles, all one colour.
        canvas.fill(ring({{10, 10}, {60, 10}, {60, 20}, {20, 20}, {20, 60}, {10, 60}}), kBlue);
        canvas.fill(ring({{5, 15}, {70, 15}, {70, 25}, {15, 25}, {15, 70}, {5, 70}}), kBlue);
        canvas.fill(ring({{60, 60}, {95, 60}, {60, 95}}), kRed);
        canvas.fill(ring({{95, 95}, {60, 95}, {95, 60}}), kRed);  // the other way round
        canvas.fill(ring({{70, 70}, {90, 70}, {90, 90}, {70, 90}}), kRed);
        EXPECT_EQ(canvas.error(), "");
    }
    EXPECT_EQ(pixelAt(s.get(), 17, 17).b, 255) << "both L shapes cover this pixel";
    EXPECT_EQ(pixelAt(s.get(), 17, 17).r, 0);
    EXPECT_EQ(pixelAt(s.get(), 80, 80).r, 255) << "overlapping convex fills stay filled";
    EXPECT_EQ(pixelAt(s.get(), 64, 64).r, 255);
    EXPECT_EQ(pixelAt(s.get(), 91, 91).r, 255);
    EXPECT_EQ(pixelAt(s.get(), 40, 40).r, 255) << "nothing drawn here";
    EXPECT_EQ(pixelAt(s.get(), 40, 40).b, 255);
}

TEST(BatchCanvas, TextsOfOneStyleBecomeOneGlyphRunAndStayInPlace) {
    FontLibrary fonts;
    const FontFace& face = fonts.face("txt");
    Surface s = image(200, 100);
    std::size_t operations = 0;
    {
        CairoTarget target(s.get());
        BatchCanvas canvas(target);
        canvas.paintBackground(Rgb{255, 255, 255});
        const std::string word = "HIH";
        const double advance = fonts.advance(face, word);
        for (int i = 0; i < 4; ++i) {
            // y up in glyph space, down on the device: 20 units per em.
            canvas.text(face, word, advance, Affine2d{20, 0, 0, -20, 10.0 + i * 45, 40}, kBlack);
            canvas.stroke(segment(10.0 + i * 45, 90, 40.0 + i * 45, 90), pen(kBlack, 2));
        }
        canvas.text(face, "", 0, Affine2d{20, 0, 0, -20, 0, 0}, kBlack);
        canvas.text(face, "off the page", 1, Affine2d{20, 0, 0, -20, -5000, 40}, kBlack);
        canvas.flush();
        operations = canvas.operationCount();
    }
    EXPECT_EQ(operations, 2u) << "one glyph run and one stroke";
    // "H" stems: ink within the first word's box, none between the words' boxes above the line.
    int ink = 0;
    for (int x = 10; x < 10 + 20 * 2; ++x)
        for (int y = 25; y < 40; ++y) ink += pixelAt(s.get(), x, y).isInk();
    EXPECT_GT(ink, 30);
    EXPECT_TRUE(pixelAt(s.get(), 150, 10).isWhite());
    EXPECT_TRUE(pixelAt(s.get(), 20, 90).isInk());
}

TEST(PngEncoder, PicturesReadBackPixelForPixel) {
    RenderDir dir;
    // A small picture in one piece, and one large enough to be deflated in two halves.
    for (const auto& [w, h] : {std::pair{37, 11}, std::pair{1500, 1400}}) {
        Surface s = image(w, h);
        cairo_t* cr = cairo_create(s.get());
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 0.2, 0.5, 0.9);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, w, h);
        cairo_set_line_width(cr, 3);
        cairo_stroke(cr);
        cairo_rectangle(cr, w / 3.0, h / 2.0, w / 4.0, h / 5.0);
        cairo_set_source_rgb(cr, 1, 0, 0.25);
        cairo_fill(cr);
        cairo_destroy(cr);
        std::string error;
        const std::string png = encodePng(s.get(), error);
        ASSERT_EQ(error, "");
        const std::string file = dir.file("p" + std::to_string(w) + ".png");
        FILE* f = std::fopen(file.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
        Picture back(file);
        ASSERT_EQ(back.width(), w);
        ASSERT_EQ(back.height(), h);
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Pixel a = pixelAt(s.get(), x, y), b = back.at(x, y);
                differ += a.r != b.r || a.g != b.g || a.b != b.b;
            }
        EXPECT_EQ(differ, 0) << w << " x " << h;
    }
}

TEST(BatchCanvas, ManyPrimitivesInThreeColoursGiveThePictureOfDrawingThemInOrder) {
    // Pixel-aligned rectangles and lines, so that no edge is antialiased and both pictures must
    // agree exactly: one through the batching canvas, one drawn primitive by primitive.
    constexpr int kSize = 160;
    const Rgb colours[] = {kRed, kBlue, Rgb{0, 160, 0}};
    std::uint32_t seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    struct Item {
        bool isFill;
        int x0, y0, x1, y1;
        Rgb colour;
    };
    std::vector<Item> items;
    for (int i = 0; i < 4000; ++i) {
        const int x = next(kSize - 20), y = next(kSize - 20), w = 1 + next(18), h = 1 + next(18);
        const bool fill = next(2) == 0;
        items.push_back(fill ? Item{true, x, y, x + w, y + h, colours[next(3)]}
                             : Item{false, x, y + 1, x + w, y + 1, colours[next(3)]});  // a 2-wide horizontal line
    }
    Surface batched = image(kSize, kSize), direct = image(kSize, kSize);
    std::size_t operations = 0;
    {
        CairoTarget target(batched.get());
        BatchCanvas canvas(target);
        canvas.paintBackground(Rgb{255, 255, 255});
        for (const Item& it : items) {
            if (it.isFill)
                canvas.fill(ring({{double(it.x0), double(it.y0)}, {double(it.x1), double(it.y0)},
                                  {double(it.x1), double(it.y1)}, {double(it.x0), double(it.y1)}}),
                            it.colour);
            else
                canvas.stroke(segment(it.x0, it.y0, it.x1, it.y1), pen(it.colour, 2));
        }
        canvas.flush();
        operations = canvas.operationCount();
        ASSERT_EQ(canvas.error(), "");
    }
    cairo_t* cr = cairo_create(direct.get());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (const Item& it : items) {
        cairo_set_source_rgb(cr, it.colour.r / 255.0, it.colour.g / 255.0, it.colour.b / 255.0);
        if (it.isFill) {
            cairo_rectangle(cr, it.x0, it.y0, it.x1 - it.x0, it.y1 - it.y0);
            cairo_fill(cr);
        } else {
            cairo_move_to(cr, it.x0, it.y0);
            cairo_line_to(cr, it.x1, it.y1);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        }
    }
    cairo_destroy(cr);
    int differ = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const Pixel a = pixelAt(batched.get(), x, y), b = pixelAt(direct.get(), x, y);
            differ += a.r != b.r || a.g != b.g || a.b != b.b;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_LT(operations, items.size()) << "some primitives share operations";
}

namespace {

// Keeps the colour of every batch it is given, and fails on the one it is told to.
class RecordingTarget : public CanvasTarget {
public:
    explicit RecordingTarget(std::size_t failAt) : failAt_(failAt) {}
    double width() const override { return 100; }
    double height() const override { return 100; }
    void draw(const CanvasBatch& batch) override {
        if (drawn.size() == failAt_) throw std::runtime_error("the target ran out of room");
        drawn.push_back(batch.color);
    }
    void paintBackground(Rgb) override {}
    void pushClip(const DevicePath&) override { ++clips; }
    void popClip() override { --clips; }
    std::string error() override { return {}; }

    std::vector<Rgb> drawn;
    int clips = 0;

private:
    std::size_t failAt_;
};

}  // namespace

TEST(BatchCanvas, TheTargetSeesBatchesInOrderAndWhatItThrowsReachesTheCaller) {
    // Each square overlaps the one before in another colour, so that none may join an earlier
    // batch: the target must get them all, one by one, in the order drawn, though far more than
    // its queue holds.
    auto squares = [](BatchCanvas& canvas) {
        for (int i = 0; i < 500; ++i) {
            const double x = 10 + (i % 50);
            canvas.fill(ring({{x, 10}, {x + 20, 10}, {x + 20, 30}, {x, 30}}), Rgb{static_cast<std::uint8_t>(i % 256), 0, 0});
        }
    };
    RecordingTarget whole(SIZE_MAX);
    {
        BatchCanvas canvas(whole);
        squares(canvas);
        canvas.pushClip(ring({{0, 0}, {50, 0}, {50, 50}}));
        EXPECT_EQ(canvas.error(), "");
        EXPECT_EQ(whole.clips, 1);
        canvas.popClip();
        EXPECT_EQ(canvas.error(), "");
        EXPECT_EQ(whole.clips, 0);
    }
    ASSERT_EQ(whole.drawn.size(), 500u);
    for (std::size_t i = 0; i < whole.drawn.size(); ++i) ASSERT_EQ(whole.drawn[i].r, i % 256) << i;

    RecordingTarget failing(100);
    BatchCanvas canvas(failing);
    squares(canvas);
    EXPECT_THROW(canvas.error(), std::runtime_error);
    EXPECT_EQ(failing.drawn.size(), 100u) << "nothing is drawn after the failure";
}
