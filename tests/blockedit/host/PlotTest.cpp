// Plotting a layout to a file with a report's codes, and the codes' conversions.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "../TestFiles.h"
#include "core/EXKorva.h"
#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/db/Polyline.h"
#include "engine/db/UnknownEntity.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "host/AcadDrawing.h"
#include "host/AcadUtilities.h"

namespace fs = std::filesystem;

namespace {

using testfiles::readText;

// Width and height of a PNG (IHDR) or a baseline JPEG (SOF0).
std::array<int, 2> pictureSize(const fs::path& path) {
    const std::string b = readText(path);
    auto u8 = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(b.at(i))); };
    if (b.size() > 24 && b.compare(1, 3, "PNG") == 0)
        return {(u8(16) << 24) | (u8(17) << 16) | (u8(18) << 8) | u8(19), (u8(20) << 24) | (u8(21) << 16) | (u8(22) << 8) | u8(23)};
    for (std::size_t i = 2; i + 9 < b.size(); ++i)
        if (u8(i) == 0xFF && u8(i + 1) == 0xC0) return {(u8(i + 7) << 8) | u8(i + 8), (u8(i + 5) << 8) | u8(i + 6)};
    return {0, 0};
}

// The PDF's page size in points, from its media box.
std::array<double, 2> pdfPageSize(const fs::path& path) {
    std::smatch m;
    const std::string text = readText(path);
    static const std::regex box(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])");
    if (!std::regex_search(text, m, box)) return {0, 0};
    return {std::stod(m[1]), std::stod(m[2])};
}

// Whether the exception or one it holds says `text`.
bool chainSays(const CEXKorva& e, const std::string& text) {
    for (const CEXKorva* k = &e; k; k = k->getInnerException())
        if (k->getDescription() == text) return true;
    return false;
}

class PlotTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_.documentManager().newDocument();
        cad::Database& db = *host_.workingDatabase();
        // A 100 x 50 box of drawing units with a line weight of 1 mm, so that it shows at any size.
        auto box = std::make_unique<cad::Polyline>();
        box->addVertexAt(0, {0, 0});
        box->addVertexAt(1, {100, 0});
        box->addVertexAt(2, {100, 50});
        box->addVertexAt(3, {0, 50});
        box->setClosed(true);
        box->setLineWeight(100);
        auto ms = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        ASSERT_EQ(ms->appendEntity(std::move(box)), cad::ErrorStatus::eOk);
        drawing_.bindToActiveDocument();
    }
    std::string folder() const { return dir_.string() + "/"; }
    int plot(std::string& name, int device, int scale = 0, int area = 1, int media = 6, int unrotated = 1,
             int centred = 1, std::string layout = {}) {
        return drawing_.plot(layout, folder(), name, device, 1, centred, scale, area, media, unrotated);
    }

    cad::CapturedOutput out_;
    cad::ScriptInput input_;
    cad::HostApplication host_{cad::HostProfile::AutoCAD, input_};
    CAcadDrawing drawing_;
    testfiles::TempFolder scratch_;
    const fs::path dir_ = scratch_.path();
};

// The ink's box in a PNG plot: {left, top, right, bottom} in pixels.
std::array<int, 4> inkBox(const fs::path& png);

}  // namespace

TEST(PlotCodes, ExtensionsAreForcedByDevice) {
    std::string name = "report.PDF";
    CAcadUtilities::checkPlotFileExtension(name, 1);
    EXPECT_EQ(name, "report.pdf") << "compared with case: the upper-case ending is replaced";
    name = "report";
    CAcadUtilities::checkPlotFileExtension(name, 1);
    EXPECT_EQ(name, "report.pdf");
    name = "floor.v2.png";
    CAcadUtilities::checkPlotFileExtension(name, 2);
    EXPECT_EQ(name, "floor.v2.jpg") << "only after the last dot";
    name = "plan.png";
    CAcadUtilities::checkPlotFileExtension(name, 3);
    EXPECT_EQ(name, "plan.png");
    name = "plan.pdf";
    CAcadUtilities::checkPlotFileExtension(name, 7);
    EXPECT_EQ(name, "plan.dwf") << "unknown devices are the DWF device";
    name = "";
    try {
        CAcadUtilities::checkPlotFileExtension(name, 1);
        ADD_FAILURE() << "an empty name must raise";
    } catch (const CEXKorva& e) {
        EXPECT_TRUE(chainSays(e, "Invalid Plot Filename - ''")) << e.getDescription();
    }
}

TEST(PlotCodes, DevicesScalesAreasAndMedia) {
    EXPECT_EQ(CAcadUtilities::convertPlotDevice(0), "DWF6 ePlot.pc3");
    EXPECT_EQ(CAcadUtilities::convertPlotDevice(1), "DWG To PDF.pc3");
    EXPECT_EQ(CAcadUtilities::convertPlotDevice(2), "PublishToWeb JPG.pc3");
    EXPECT_EQ(CAcadUtilities::convertPlotDevice(3), "PublishToWeb PNG.pc3");
    EXPECT_EQ(CAcadUtilities::convertPlotDevice(4), "DWF6 ePlot.pc3");
    EXPECT_EQ(CAcadUtilities::plotExtension(-1), ".dwf");
    EXPECT_EQ(CAcadUtilities::plotDeviceFromDatabase(3), 3);
    EXPECT_EQ(CAcadUtilities::plotDeviceFromDatabase(9), 0);

    EXPECT_EQ(CAcadUtilities::plotScaleFromDatabase(18), 18);
    EXPECT_EQ(CAcadUtilities::plotScaleFromDatabase(19), 20);
    EXPECT_EQ(CAcadUtilities::plotScaleFromDatabase(33), 34);
    EXPECT_EQ(CAcadUtilities::plotScaleFromDatabase(34), 0);
    EXPECT_EQ(CAcadUtilities::plotScaleFromDatabase(0), 0);
    for (int code = 0; code <= 34; ++code)
        EXPECT_EQ(CAcadUtilities::plotScaleToDatabase(CAcadUtilities::plotScaleFromDatabase(code)), code <= 33 ? code : 0);
    EXPECT_EQ(CAcadUtilities::plotScaleToDatabase(19), 0) << "the host's type 19 has no database code";

    EXPECT_EQ(CAcadUtilities::plotAreaFromDatabase(5), 5);
    EXPECT_EQ(CAcadUtilities::plotAreaFromDatabase(6), 0);
    EXPECT_EQ(CAcadUtilities::plotMediaSizeFromDatabase(88), 88);
    EXPECT_EQ(CAcadUtilities::plotMediaSizeFromDatabase(89), 0);

    EXPECT_EQ(CAcadUtilities::plotMediaName(89), "ISO_A1_(841.00_x_594.00_MM)");
    EXPECT_EQ(CAcadUtilities::plotMediaName(-3), "ISO_A1_(841.00_x_594.00_MM)");
    EXPECT_EQ(CAcadUtilities::plotMediaName(6), "ISO_A4_(297.00_x_210.00_MM)");
    EXPECT_EQ(CAcadUtilities::plotMediaName(39), "ANSI_A_(11.00_x_8.50_Inches)");
    EXPECT_EQ(CAcadUtilities::plotMediaName(88), "ARCH_full_bleed_A_(9.00_x_12.00_Inches)");
}

TEST_F(PlotTest, EachDeviceWritesItsFormatAtTheMediaSize) {
    std::string pdf = "sheet";
    EXPECT_EQ(plot(pdf, 1), CAcadDrawing::kPlotted);
    EXPECT_EQ(pdf, "sheet.pdf");
    const auto page = pdfPageSize(dir_ / "sheet.pdf");
    EXPECT_NEAR(page[0], 297 / 25.4 * 72, 0.5);
    EXPECT_NEAR(page[1], 210 / 25.4 * 72, 0.5);

    std::string jpg = "sheet.JPG";
    EXPECT_EQ(plot(jpg, 2, 0, 1, 39), CAcadDrawing::kPlotted);  // ANSI A landscape, 11 x 8.5 in
    EXPECT_EQ(jpg, "sheet.jpg");
    EXPECT_EQ(pictureSize(dir_ / "sheet.jpg"), (std::array<int, 2>{1100, 850}));

    std::string png = "sheet.png";
    EXPECT_EQ(plot(png, 3, 0, 1, 7), CAcadDrawing::kPlotted);  // A4 portrait
    EXPECT_EQ(pictureSize(dir_ / "sheet.png"), (std::array<int, 2>{827, 1169}));
}

TEST_F(PlotTest, MissingFolderAndDwfDeviceWriteNothing) {
    std::string layout, name = "sheet.pdf";
    EXPECT_EQ(drawing_.plot(layout, folder() + "nowhere/", name, 1, 1, 1, 0, 1, 6, 1), CAcadDrawing::kPlotFolderMissing);
    EXPECT_FALSE(fs::exists(dir_ / "nowhere"));

    out_.clear();
    name = "sheet";
    EXPECT_EQ(drawing_.plot(layout, folder(), name, 0, 1, 1, 0, 1, 6, 1), CAcadDrawing::kPlotDeviceNotAvailable);
    EXPECT_EQ(name, "sheet.dwf");
    EXPECT_NE(out_.text().find("\"DWF6 ePlot.pc3\" is not available"), std::string::npos) << out_.text();
    EXPECT_TRUE(fs::is_empty(dir_)) << "no file of any format";

    std::string empty;
    EXPECT_THROW(drawing_.plot(layout, folder(), empty, 1, 1, 1, 0, 1, 6, 1), CEXKorva);
}

TEST_F(PlotTest, ScaleCentringAndRotationPlaceTheDrawing) {
    // 1:1 on A4 landscape at 100 pixels per inch: the 100 x 50 box is 393.7 x 196.9 pixels.
    std::string name = "centred.png";
    ASSERT_EQ(plot(name, 3, 16), CAcadDrawing::kPlotted);
    auto box = inkBox(dir_ / name);
    const double mm = 100 / 25.4;
    EXPECT_NEAR(box[2] - box[0], 100 * mm, 6);
    EXPECT_NEAR(box[3] - box[1], 50 * mm, 6);
    EXPECT_NEAR((box[0] + box[2]) / 2.0, 1169 / 2.0, 3);
    EXPECT_NEAR((box[1] + box[3]) / 2.0, 827 / 2.0, 3);

    name = "corner.png";
    ASSERT_EQ(plot(name, 3, 16, 1, 6, 1, 0), CAcadDrawing::kPlotted);
    box = inkBox(dir_ / name);
    EXPECT_LE(box[0], 3) << "not centred: at the sheet's lower-left corner";
    EXPECT_GE(box[3], 827 - 4);

    name = "turned.png";
    ASSERT_EQ(plot(name, 3, 16, 1, 6, 0), CAcadDrawing::kPlotted);
    box = inkBox(dir_ / name);
    EXPECT_NEAR(box[2] - box[0], 50 * mm, 6) << "turned a quarter, the box stands upright";
    EXPECT_NEAR(box[3] - box[1], 100 * mm, 6);

    name = "half.png";
    ASSERT_EQ(plot(name, 3, 17), CAcadDrawing::kPlotted);  // 1:2
    box = inkBox(dir_ / name);
    EXPECT_NEAR(box[2] - box[0], 50 * mm, 5);

    name = "fit.png";
    ASSERT_EQ(plot(name, 3, 0), CAcadDrawing::kPlotted);  // scale to fit: the width fills the sheet
    box = inkBox(dir_ / name);
    EXPECT_NEAR(box[2] - box[0], 1169, 8);
}

TEST_F(PlotTest, TheCurrentLayoutsNameIsReturnedAndAnUnknownOneRefused) {
    std::string layout, name = "model.png";
    ASSERT_EQ(drawing_.plot(layout, folder(), name, 3, 0, 1, 0, 1, 6, 1), CAcadDrawing::kPlotted);
    EXPECT_EQ(layout, "Model");
    std::string unknown = "NoSuchLayout";
    EXPECT_THROW(drawing_.plot(unknown, folder(), name, 3, 0, 1, 0, 1, 6, 1), CEXKorva);
}

TEST_F(PlotTest, WhatCannotBeDrawnIsNamedAfterThePlot) {
    std::string name = "clean.pdf";
    ASSERT_EQ(plot(name, 1), CAcadDrawing::kPlotted);
    EXPECT_EQ(out_.text().find("skipped"), std::string::npos) << out_.text();
    {
        cad::Database& db = *host_.workingDatabase();
        auto ms = db.open<cad::BlockTableRecord>(db.modelSpaceId(), cad::OpenMode::ForWrite);
        ASSERT_EQ(ms->appendEntity(std::make_unique<cad::UnknownEntity>("3DSOLID")), cad::ErrorStatus::eOk);
    }
    name = "solid.pdf";
    ASSERT_EQ(plot(name, 1), CAcadDrawing::kPlotted);
    EXPECT_NE(out_.text().find("Plotted Model: drew 1 entity, skipped: 1 3DSOLID."), std::string::npos) << out_.text();
}

TEST(PlotCodes, ThePublishingProgressDialogNamesTheDevice) {
    cad::PlotProgressDialog dialog(nullptr);
    CAcadDrawing::preparePlotProgress(dialog, "DWG To PDF.pc3");
    using Text = cad::PlotProgressDialog::Text;
    EXPECT_EQ(dialog.text(Text::CancelJobButton), "Cancel Job");
    EXPECT_EQ(dialog.text(Text::CancelSheetButton), "Cancel Sheet");
    dialog.setSheetProgress(100);
    EXPECT_EQ(dialog.line(), "Korva Graphic Report Engine - DWG To PDF.pc3: Job Progress 0%, Sheet Progress 100%");
}

TEST(PlotExport, BricsCADHostPlotsThroughItsExportCommand) {
    cad::CapturedOutput out;
    cad::ScriptInput input;
    cad::HostApplication host(cad::HostProfile::BricsCAD, input);
    host.documentManager().newDocument();
    testfiles::TempFolder scratch;
    const fs::path& dir = scratch.path();
    std::ofstream(dir / "sheet.pdf") << "an older file";
    CAcadDrawing drawing;
    drawing.bindToActiveDocument();
    std::string layout, name = "sheet.pdf";
    EXPECT_EQ(drawing.plot(layout, dir.string() + "/", name, 1, 1, 1, 0, 1, 6, 1), CAcadDrawing::kPlotted);
    EXPECT_NE(out.text().find((dir / "sheet.pdf").string() + "\n\n"), std::string::npos) << out.text();
    EXPECT_NE(out.text().find("Exported Model to "), std::string::npos) << out.text();
    EXPECT_EQ(readText(dir / "sheet.pdf").substr(0, 5), "%PDF-") << "the older file is replaced";
    EXPECT_NEAR(pdfPageSize(dir / "sheet.pdf")[0], 297 / 25.4 * 72, 0.5);
    EXPECT_EQ(host.getVariable("FILEDIA").value_or(-1), 1);
}

namespace {

std::array<int, 4> inkBox(const fs::path& png) {
    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    std::array<int, 4> box{1 << 30, 1 << 30, -1, -1};
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        const int stride = cairo_image_surface_get_stride(s);
        const unsigned char* data = cairo_image_surface_get_data(s);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride)[x];
                if ((v & 0xFF) < 128 && ((v >> 8) & 0xFF) < 128 && ((v >> 16) & 0xFF) < 128) {
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x), std::max(box[3], y)};
                }
            }
    }
    cairo_surface_destroy(s);
    return box;
}

}  // namespace
