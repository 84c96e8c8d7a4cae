// The plot engine: which part of the drawing lands where on the sheet, and what it refuses.
#include <gtest/gtest.h>

#include <filesystem>

#include "../db/DbTestSupport.h"
#include "RenderTestSupport.h"
#include "engine/db/SymbolTable.h"
#include "engine/db/ViewportTableRecord.h"
#include "engine/render/Plotter.h"

using namespace cad;
using namespace cad::test;

namespace {

// Two 10 x 10 boxes, 1000 units apart, drawn thick enough to see at any scale.
std::unique_ptr<Database> twoBoxes() {
    auto db = Database::createDefault();
    for (double x : {0.0, 1000.0}) {
        auto box = rectangle(x, 0, x + 10, 10);
        box->setLineWeight(100);
        append(*db, std::move(box));
    }
    return db;
}

PlotJob pngJob(int plotType) {
    PlotJob job;
    job.configuration = "PublishToWeb PNG.pc3";
    job.mediaName = "ISO_A4_(297.00_x_210.00_MM)";
    job.plotType = plotType;
    job.standardScaleType = 0;
    job.rasterDpi = 50;  // 585 x 413 pixels
    return job;
}

// Ink inside each half of the sheet: {left, right}.
std::array<std::size_t, 2> inkByHalf(const Picture& pic) {
    std::array<std::size_t, 2> n{0, 0};
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            if (pic.at(x, y).isInk()) ++n[x < pic.width() / 2 ? 0 : 1];
    return n;
}

}  // namespace

TEST(Plotter, MediaNamesAndScales) {
    auto a4 = mediaSizeForName("ISO_A4_(297.00_x_210.00_MM)");
    ASSERT_TRUE(a4);
    EXPECT_DOUBLE_EQ(a4->widthMm, 297);
    EXPECT_FALSE(a4->inches);
    auto ansi = mediaSizeForName("ANSI_A_(11.00_x_8.50_Inches)");
    ASSERT_TRUE(ansi);
    EXPECT_NEAR(ansi->widthMm, 279.4, 1e-9);
    EXPECT_NEAR(ansi->heightMm, 215.9, 1e-9);
    EXPECT_FALSE(mediaSizeForName("Letter"));
    EXPECT_FALSE(mediaSizeForName("X_(abc_x_2_MM)"));
    EXPECT_FALSE(mediaSizeForName("X_(2.00_x_2.00_Furlongs)"));

    EXPECT_FALSE(standardScaleFactor(0, false)) << "0 is scale to fit";
    EXPECT_DOUBLE_EQ(*standardScaleFactor(16, false), 1.0);
    EXPECT_DOUBLE_EQ(*standardScaleFactor(19, false), 0.2) << "1:5";
    EXPECT_DOUBLE_EQ(*standardScaleFactor(26, false), 0.02) << "1:50";
    EXPECT_DOUBLE_EQ(*standardScaleFactor(33, true), 1000.0);
    EXPECT_NEAR(*standardScaleFactor(6, true), 1.0 / 8 / 12, 1e-12) << "1/8\" = 1'";
    EXPECT_FALSE(standardScaleFactor(35, false));
}

TEST(Plotter, AreasChooseWhatFillsTheSheet) {
    auto db = twoBoxes();
    RenderDir dir;
    // Extents: both boxes, one at each end of the sheet.
    PlotOutcome out = plotToFile(*db, pngJob(1), dir.file("extents.png"));
    ASSERT_EQ(out.status, PlotOutcome::Status::Plotted) << out.message;
    EXPECT_EQ(out.pixelWidth, 585);
    auto halves = inkByHalf(Picture(dir.file("extents.png")));
    EXPECT_GT(halves[0], 0u);
    EXPECT_GT(halves[1], 0u);

    // Window around the right box only: it fills the sheet, the left one is gone.
    PlotJob window = pngJob(4);
    window.window = Extents2d({995, -5}, {1015, 15});
    out = plotToFile(*db, window, dir.file("window.png"));
    ASSERT_EQ(out.status, PlotOutcome::Status::Plotted) << out.message;
    Picture pic(dir.file("window.png"));
    EXPECT_TRUE(pic.at(pic.width() / 2, pic.height() / 2).isWhite()) << "inside the box";
    EXPECT_GT(pic.inkCount(), 2000u) << "a box filling the sheet's height";

    // Display: the current view, here centred on the left box.
    auto* active = static_cast<ViewportTableRecord*>(db->objectAt(db->recordId(TableKind::Viewport, "*Active")));
    ASSERT_NE(active, nullptr);
    active->setCenterPoint({5, 5});
    active->setHeight(40);
    active->setAspectRatio(1.0);
    out = plotToFile(*db, pngJob(0), dir.file("display.png"));
    ASSERT_EQ(out.status, PlotOutcome::Status::Plotted) << out.message;
    Picture shown(dir.file("display.png"));
    EXPECT_GT(shown.inkCount(), 1000u);
    EXPECT_TRUE(shown.at(shown.width() / 2, shown.height() / 2).isWhite()) << "the left box, centred and large";

    // A named view around the right box; an unknown name falls back to the extents.
    auto* views = static_cast<SymbolTable*>(db->objectAt(db->tableId(TableKind::View)));
    ASSERT_NE(views, nullptr);
    auto north = std::make_unique<OtherTableRecord>(TableKind::View, "NORTH");
    north->editExtraTags() = {{10, "1005"}, {20, "5"}, {40, "40"}, {41, "40"}};
    ASSERT_EQ(views->add(std::move(north)), ErrorStatus::eOk);
    PlotJob view = pngJob(3);
    view.viewName = "north";
    out = plotToFile(*db, view, dir.file("view.png"));
    ASSERT_EQ(out.status, PlotOutcome::Status::Plotted) << out.message;
    Picture named(dir.file("view.png"));
    EXPECT_TRUE(named.at(named.width() / 2, named.height() / 2).isWhite());
    EXPECT_GT(named.inkCount(), 1000u);
    view.viewName = "SOUTH";
    out = plotToFile(*db, view, dir.file("noview.png"));
    ASSERT_EQ(out.status, PlotOutcome::Status::Plotted) << out.message;
    halves = inkByHalf(Picture(dir.file("noview.png")));
    EXPECT_GT(halves[0], 0u);
    EXPECT_GT(halves[1], 0u);
}

TEST(Plotter, RefusesDevicesItHasNoDriverForAndWrongExtensions) {
    auto db = twoBoxes();
    RenderDir dir;
    PlotJob job = pngJob(1);
    job.configuration = "DWF6 ePlot.pc3";
    PlotOutcome out = plotToFile(*db, job, dir.file("sheet.dwf"));
    EXPECT_EQ(out.status, PlotOutcome::Status::DeviceNotAvailable);
    EXPECT_NE(out.message.find("DWF6 ePlot.pc3"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("sheet.dwf")));

    job.configuration = "DWG To PDF.pc3";
    out = plotToFile(*db, job, dir.file("sheet.png"));
    EXPECT_EQ(out.status, PlotOutcome::Status::Failed);
    EXPECT_NE(out.message.find(".pdf"), std::string::npos) << out.message;
    EXPECT_FALSE(std::filesystem::exists(dir.file("sheet.png"))) << "never a file in the wrong format";

    job.mediaName = "Letter";
    out = plotToFile(*db, job, dir.file("sheet.pdf"));
    EXPECT_EQ(out.status, PlotOutcome::Status::Failed);
    EXPECT_NE(out.message.find("Letter"), std::string::npos);
}
