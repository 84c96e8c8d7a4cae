// Our own PDFs read by independent tools: poppler draws them and must give the picture our raster
// gives, its text extractor must find the drawing's texts, and qpdf must find the file sound.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <regex>

#include "../db/DbTestSupport.h"
#include "RenderTestSupport.h"
#include "engine/db/Circle.h"
#include "engine/db/Layout.h"
#include "engine/db/Line.h"
#include "engine/db/Text.h"
#include "engine/db/Viewport.h"
#include "engine/render/FontLibrary.h"

using namespace cad;
using namespace cad::test;

namespace {

bool haveTool(const char* name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// The command's standard output; its status in `status`.
std::string run(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return out;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

// Renders `db` to `name`.png and `name`.pdf over `window`, one pixel per point, and has poppler
// draw the PDF at 72 dpi, so that the two pictures should agree pixel for pixel but for
// antialiasing.
struct Pair {
    Shot shot;  // ours, from the raster
    std::unique_ptr<Picture> poppler;
    const Picture& raster() const { return *shot.picture; }
};

Pair renderBoth(const Database& db, const RenderDir& dir, Extents2d window, int width, const std::string& name,
                const std::string& layout = {}) {
    Pair pair;
    pair.shot = shoot(db, dir, window, width, name + ".png", layout);
    RenderOptions options;
    options.width = width;
    options.window = window;
    options.margin = 0;
    options.layout = layout;
    const RenderResult pdf = renderDrawingToFile(db, options, dir.file(name + ".pdf"));
    EXPECT_TRUE(pdf.ok) << pdf.error;
    int status = 0;
    run("pdftoppm -r 72 -png -singlefile " + dir.file(name + ".pdf") + " " + dir.file(name + "-poppler"), status);
    EXPECT_EQ(status, 0);
    if (!pair.shot.picture || status != 0) return pair;
    pair.poppler = std::make_unique<Picture>(dir.file(name + "-poppler.png"));
    return pair;
}

}  // namespace

TEST(PdfFiles, PopplerDrawsThePictureOurRasterShows) {
    if (!haveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    auto db = Database::createDefault();
    // A room filled solid with a hole, a dashed wall, a thick red line, a column, a label.
    append(*db, solidHatch({{{2, 2}, {38, 2}, {38, 28}, {2, 28}}, {{14, 10}, {26, 10}, {26, 20}, {14, 20}}}, 4));
    const ObjectId lt = addDashedLinetype(*db);
    auto wall = std::make_unique<Line>(Point3d{40, 32, 0}, Point3d{70, 32, 0});
    wall->setLinetype(lt);
    append(*db, std::move(wall));
    auto thick = std::make_unique<Line>(Point3d{42, 5, 0}, Point3d{78, 25, 0});
    thick->setColorIndex(1);
    thick->setLineWeight(200);
    append(*db, std::move(thick));
    append(*db, std::make_unique<Circle>(Point3d{60, 10, 0}, 4));
    append(*db, textAt("ROOM 101", {44, 28, 0}, 3));
    // Labels of one style go out as one run of texts moved to one after the other, level and turned.
    for (int i = 0; i < 3; ++i) append(*db, textAt("A" + std::to_string(i + 1), {3.0 + 11 * i, 44, 0}, 3));
    for (int i = 0; i < 3; ++i) {
        auto turned = textAt("R" + std::to_string(i + 1), {45.0 + 10 * i, 38, 0}, 3);
        turned->setRotation(std::numbers::pi / 6);
        append(*db, std::move(turned));
    }
    // Half-transparent red (440) over white and over an opaque blue square.
    append(*db, solidHatch({{{6, 32}, {10, 32}, {10, 40}, {6, 40}}}, 5));
    auto translucent = solidHatch({{{2, 32}, {8, 32}, {8, 40}, {2, 40}}}, 1);
    translucent->editExtraTags() = {{440, std::to_string(0x02000000 | 127)}};
    append(*db, std::move(translucent));

    RenderDir dir;
    const Extents2d window({0, 0}, {80, 50});
    Pair model = renderBoth(*db, dir, window, 640, "model");  // 8 points per unit
    ASSERT_TRUE(model.poppler);
    ASSERT_EQ(model.poppler->width(), model.raster().width());
    ASSERT_EQ(model.poppler->height(), model.raster().height());
    auto at = [&](double x, double y) { return model.poppler->at(model.shot.px(x), model.shot.py(y)); };
    const Pixel fill = at(5, 5);
    EXPECT_TRUE(fill.r < 60 && fill.g > 200 && fill.b > 200) << "cyan fill " << fill.r << " " << fill.g << " " << fill.b;
    EXPECT_TRUE(at(20, 15).isWhite()) << "the hole";
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(at(40 + 3 * k + 1.0, 32).isInk()) << "dash " << k;
        EXPECT_TRUE(at(40 + 3 * k + 2.5, 32).isWhite()) << "gap " << k;
    }
    const Pixel red = at(60, 15);
    EXPECT_TRUE(red.r > 200 && red.g < 60 && red.b < 60) << "the thick line";
    for (const Picture* picture : {static_cast<const Picture*>(model.poppler.get()), &model.raster()}) {
        const Pixel pink = picture->at(model.shot.px(4), model.shot.py(36));
        EXPECT_TRUE(pink.r > 245 && std::abs(pink.g - 128) < 8 && std::abs(pink.b - 128) < 8)
            << "half red on white " << int(pink.r) << " " << int(pink.g) << " " << int(pink.b);
        const Pixel purple = picture->at(model.shot.px(7), model.shot.py(36));
        EXPECT_TRUE(std::abs(purple.r - 128) < 8 && purple.g < 8 && std::abs(purple.b - 128) < 8)
            << "half red on blue " << int(purple.r) << " " << int(purple.g) << " " << int(purple.b);
    }
    // Tolerance: the same outlines through two rasterisers differ only in how edge pixels are
    // antialiased, which one pixel of search covers; 2 % leaves room for the ends of dashes and
    // the smallest parts of glyphs, while a text, circle or fill missing or misplaced would cost
    // far more.
    EXPECT_GE(inkNear(*model.poppler, model.raster(), 1), 0.98);
    EXPECT_GE(inkNear(model.raster(), *model.poppler, 1), 0.98);

    // A layout: model space seen through a viewport, which clips the circle that overfills it
    // above and to the right (lower down lies the layout's own viewport, which shows more).
    append(*db, std::make_unique<Circle>(Point3d{40, 20, 0}, 30));
    const auto* layout = static_cast<const Layout*>(db->objectAt(db->layoutId("Layout1")));
    ASSERT_NE(layout, nullptr);
    auto vp = std::make_unique<Viewport>();
    vp->setCenterPoint({50, 50, 0});
    vp->setWidth(40);
    vp->setHeight(40);
    vp->setViewCenter({40, 20});
    vp->setViewHeight(40);
    vp->setNumber(2);
    append(*db, std::move(vp), layout->blockTableRecordId());
    Pair paper = renderBoth(*db, dir, Extents2d({0, 0}, {100, 100}), 400, "paper", "Layout1");
    ASSERT_TRUE(paper.poppler);
    std::size_t outside = 0;
    for (int y = 0; y < paper.poppler->height(); ++y)
        for (int x = 0; x < paper.poppler->width(); ++x) {
            const double ux = x / 4.0, uy = 100 - y / 4.0;
            // Past the border drawn on the edge at 70, and its width.
            // Right of the border of the layout's own viewport, whose left edge runs along x = 10.
            if (ux > 11 && (uy > 71 || (ux > 71 && uy > 40)) && paper.poppler->at(x, y).isInk()) ++outside;
        }
    EXPECT_EQ(outside, 0u) << "nothing beyond the viewport's edge";
    EXPECT_GE(inkNear(*paper.poppler, paper.raster(), 1), 0.98);
    EXPECT_GE(inkNear(paper.raster(), *paper.poppler, 1), 0.98);
}

TEST(PdfFiles, TextsReadBackAndTheFileIsSound) {
    if (!haveTool("pdftotext") || !haveTool("qpdf")) GTEST_SKIP() << "pdftotext (poppler-utils) or qpdf is not installed";
    auto db = Database::createDefault();
    append(*db, textAt("Büro 1.01", {0, 90, 0}, 4));
    append(*db, textAt("Ελληνικά", {0, 80, 0}, 4));
    // More distinct characters than one font of the file takes (256).
    std::string many;
    for (char32_t c = 0x100; c < 0x180; ++c) many += std::string(1, static_cast<char>(0xC0 | (c >> 6))) + static_cast<char>(0x80 | (c & 0x3F));
    for (char32_t c = 0x410; c < 0x450; ++c) many += std::string(1, static_cast<char>(0xC0 | (c >> 6))) + static_cast<char>(0x80 | (c & 0x3F));
    for (char c = '!'; c <= '~'; ++c) many += c;
    append(*db, textAt(many, {0, 60, 0}, 0.5));
    append(*db, textAt("Кириллица", {0, 70, 0}, 4));
    // A line running far off the page: its numbers must stay ones a reader takes.
    append(*db, std::make_unique<Line>(Point3d{10, 10, 0}, Point3d{1e15, -1e15, 0}));

    RenderDir dir;
    RenderOptions options;
    options.width = 800;
    options.window = Extents2d({0, 0}, {100, 100});
    const std::string pdf = dir.file("texts.pdf");
    const RenderResult result = renderDrawingToFile(*db, options, pdf);
    ASSERT_TRUE(result.ok) << result.error;

    int status = 0;
    const std::string check = run("qpdf --check " + pdf + " 2>&1", status);
    EXPECT_EQ(status, 0) << check;
    const std::string words = run("pdftotext " + pdf + " - 2>&1", status);
    EXPECT_EQ(status, 0);
    for (const char* expected : {"Büro 1.01", "Ελληνικά", "Кириллица", "ĀāĂăĄą", "АБВГДЕ", "!\"#$%&"})
        EXPECT_NE(words.find(expected), std::string::npos) << expected << " in:\n" << words;

    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t fonts = 0;
    for (std::size_t at = bytes.find("/Subtype /Type3"); at != std::string::npos; at = bytes.find("/Subtype /Type3", at + 1)) ++fonts;
    EXPECT_GE(fonts, 2u) << "the glyphs needed more than one font";
}

// A large plan is drawn in two halves at once, the second into a part of the page of its own, and
// its content goes out in several compressed pieces: readers must find the file sound and draw the
// pieces in order, so that what is drawn last lies on top; the part's texts keep fonts of their own
// and the part starts opaque whatever the first half left set.
TEST(PdfFiles, LargePlansAreDrawnInPartsAndPiecesInOrder) {
    if (!haveTool("pdftoppm") || !haveTool("qpdf") || !haveTool("pdftotext"))
        GTEST_SKIP() << "pdftoppm, pdftotext or qpdf (poppler-utils, qpdf) is not installed";
    auto db = Database::createDefault();
    append(*db, solidHatch({{{0, 0}, {50, 0}, {50, 50}, {0, 50}}}, 5));
    append(*db, textAt("FIRST", {2, 55, 0}, 4));
    // Enough short lines in the strip above for well over a megabyte of content.
    auto addLines = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            const double x = (i % 600) / 6.0, y = 80 + (i / 600) / 5.0;
            auto line = std::make_unique<Line>(Point3d{x, y, 0}, Point3d{x + 0.1, y + 0.1, 0});
            line->setColorIndex(1 + i % 7);
            append(*db, std::move(line));
        }
    };
    addLines(0, 30000);
    // The last of the first half: half-transparent red.
    auto translucent = solidHatch({{{80, 0}, {90, 0}, {90, 10}, {80, 10}}}, 1);
    translucent->editExtraTags() = {{440, std::to_string(0x02000000 | 127)}};
    append(*db, std::move(translucent));
    addLines(30000, 60000);
    append(*db, textAt("SECOND", {60, 55, 0}, 4));
    append(*db, solidHatch({{{80, 20}, {90, 20}, {90, 30}, {80, 30}}}, 3));
    append(*db, solidHatch({{{25, 25}, {75, 25}, {75, 75}, {25, 75}}}, 1));

    RenderDir dir;
    Pair pair = renderBoth(*db, dir, Extents2d({0, 0}, {100, 100}), 400, "pieces");
    ASSERT_TRUE(pair.poppler);
    int status = 0;
    const std::string check = run("qpdf --check " + dir.file("pieces.pdf") + " 2>&1", status);
    EXPECT_EQ(status, 0) << check;
    std::ifstream in(dir.file("pieces.pdf"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("/Contents ["), std::string::npos) << "one piece only: the test draws too little";
    EXPECT_NE(bytes.find("/F1_0 "), std::string::npos) << "drawn in one part: the test draws too little";
    const std::string words = run("pdftotext " + dir.file("pieces.pdf") + " - 2>&1", status);
    for (const char* expected : {"FIRST", "SECOND"}) EXPECT_NE(words.find(expected), std::string::npos) << expected;

    auto at = [&](double x, double y) { return pair.poppler->at(pair.shot.px(x), pair.shot.py(y)); };
    const Pixel blue = at(10, 10), red = at(40, 40), redAlone = at(60, 60);
    EXPECT_TRUE(blue.b > 200 && blue.r < 60) << "the first fill " << int(blue.r) << " " << int(blue.g) << " " << int(blue.b);
    for (const Pixel& p : {red, redAlone})
        EXPECT_TRUE(p.r > 200 && p.b < 60) << "the last fill, on top " << int(p.r) << " " << int(p.g) << " " << int(p.b);
    const Pixel pink = at(85, 5), green = at(85, 25);
    EXPECT_TRUE(pink.r > 245 && std::abs(pink.g - 128) < 8) << "half red " << int(pink.r) << " " << int(pink.g);
    EXPECT_TRUE(green.g > 245 && green.r < 8 && green.b < 8) << "opaque green " << int(green.r) << " " << int(green.g);
    EXPECT_TRUE(at(90, 60).isWhite());
    EXPECT_GE(inkNear(*pair.poppler, pair.raster(), 1), 0.98);
    EXPECT_GE(inkNear(pair.raster(), *pair.poppler, 1), 0.98);
}

// The page's numbers are points with at most three decimals, rounded half away from zero, without
// trailing zeros, and held at a billion: the values below are exact in binary, so each lands on a
// tie or a plain value, never between.
TEST(PdfFiles, NumbersInThePageAreRoundedAndHeld) {
    if (!haveTool("qpdf")) GTEST_SKIP() << "qpdf is not installed";
    auto db = Database::createDefault();
    // Device points are drawing units here: x as drawn, y from the top of a 100-point page.
    const std::pair<Point3d, Point3d> lines[] = {
        {{10.0625, 50, 0}, {20.0, 37.5, 0}},       // 10.0625 is a tie: 10.063
        {{-0.0625, 40, 0}, {30.25, 40, 0}},        // below zero: -0.063
        {{5.0, 60.0009765625, 0}, {5e12, 60, 0}},  // 39.9990234375 keeps three decimals; past 1e9, held
    };
    for (const auto& [from, to] : lines) append(*db, std::make_unique<Line>(from, to));
    RenderDir dir;
    RenderOptions options;
    options.width = 100;
    options.window = Extents2d({0, 0}, {100, 100});
    ASSERT_TRUE(renderDrawingToFile(*db, options, dir.file("numbers.pdf")).ok);
    int status = 0;
    run("qpdf --qdf --object-streams=disable --stream-data=uncompress " + dir.file("numbers.pdf") + " " +
            dir.file("plain.pdf") + " 2>&1",
        status);
    ASSERT_EQ(status, 0);
    std::ifstream in(dir.file("plain.pdf"), std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* expected : {"\n10.063 50 m\n20 62.5 l\n", "\n-0.063 60 m\n30.25 60 l\n",
                                 "\n5 39.999 m\n1000000000 40 l\n"})
        EXPECT_NE(content.find(expected), std::string::npos) << "no \"" << expected << "\" in the page";
}

// A room named in Chinese, Japanese or Korean in a style whose font has only Latin, Greek and
// Cyrillic letters: those characters come from an installed font that has them, with their own
// widths, and the PDF's text still reads back whole.
TEST(PdfFiles, CharactersTheStyleFontLacksComeFromAFontThatHasThem) {
    FontLibrary fonts;
    const FontFace& face = fonts.face("txt");
    const std::string name = "A\xE4\xBC\x9A\xE8\xAE\xAE\xE5\xAE\xA4-\xE3\x81\x82\xED\x95\x9C";  // A会议室-あ한
    int status = 0;
    if (!haveTool("fc-list") || run("fc-list :charset=4f1a family", status).empty())
        GTEST_SKIP() << "no installed font has Chinese characters (Debian: fonts-wqy-microhei)";
    const auto runs = fonts.runs(face, name);
    ASSERT_EQ(runs.size(), 4u) << "A | 会议室 | - | あ한";
    EXPECT_EQ(runs[0].face, &face);
    EXPECT_NE(runs[1].face, &face);
    EXPECT_EQ(runs[2].face, &face);
    EXPECT_EQ(runs[3].face, runs[1].face);
    EXPECT_NEAR(runs[1].advance, 3.0, 0.05) << "three full-width characters";
    EXPECT_NEAR(runs[1].x, runs[0].advance, 1e-12);
    EXPECT_NEAR(fonts.advance(face, name), runs[3].x + runs[3].advance, 1e-12);
    // A name wholly in such characters is one run, of the other font.
    const auto whole = fonts.runs(face, "\xE4\xBC\x9A\xE8\xAE\xAE");
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].face, runs[1].face);

    RenderDir dir;
    for (const std::string& text : {name, std::string("\xE4\xBC\x9A\xE8\xAE\xAE\xE5\xAE\xA4")}) {
        auto db = Database::createDefault();
        append(*db, textAt(text, {5, 20, 0}, 4));
        Shot shot = shoot(*db, dir, Extents2d({0, 0}, {60, 40}), 600);
        ASSERT_TRUE(shot.picture);
        const auto box = inkBox(*shot.picture);
        const double drawn = (box[2] - box[0] + 1) / shot.scale();
        const double length = fonts.advance(face, text) * 4 / face.capHeight;
        EXPECT_LT(drawn, length) << text;
        EXPECT_GT(drawn, length - 1.5) << text << ": the text runs as far as its characters' widths take it";
    }
    auto db = Database::createDefault();
    append(*db, textAt(name, {5, 20, 0}, 4));

    if (!haveTool("pdftotext")) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    RenderOptions options;
    options.window = Extents2d({0, 0}, {60, 40});
    const std::string pdf = dir.file("names.pdf");
    ASSERT_TRUE(renderDrawingToFile(*db, options, pdf).ok);
    const std::string words = run("pdftotext " + pdf + " - 2>&1", status);
    EXPECT_NE(words.find(name), std::string::npos) << words;

    // In the second half of a large plan, measured or not: that half is drawn after the first,
    // with the fonts the first took, and every entity once.
    for (int i = 0; i < 20000; ++i)
        append(*db, std::make_unique<Line>(Point3d{i % 100 * 0.5, 30.0 + i / 100 * 0.05, 0}, Point3d{i % 100 * 0.5 + 0.2, 30.0 + i / 100 * 0.05, 0}));
    append(*db, textAt(name, {5, 5, 0}, 4));
    for (const bool measured : {false, true}) {
        RenderOptions large;
        if (!measured) large.window = Extents2d({0, 0}, {60, 40});
        const std::string file = dir.file(measured ? "large-measured.pdf" : "large.pdf");
        const RenderResult result = renderDrawingToFile(*db, large, file);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.report.drawn, 20002u) << measured;
        const std::string found = run("pdftotext " + file + " - 2>&1", status);
        std::size_t copies = 0;
        for (std::size_t at = found.find(name); at != std::string::npos; at = found.find(name, at + 1)) ++copies;
        EXPECT_EQ(copies, 2u) << measured << found;
    }
}
