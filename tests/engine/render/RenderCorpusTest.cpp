// Every drawing of the shared corpus renders, and only the kinds the renderer does not draw are
// reported as skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "RenderTestSupport.h"
#include "engine/dxf/DxfDrawing.h"

using namespace cad;

TEST(RenderCorpus, EveryDrawingRendersAndNamesWhatItSkipped) {
    SKIP_WITHOUT_CORPUS();
    test::RenderDir dir;
    int rendered = 0;
    for (const std::filesystem::path& file : dxftest::corpusDrawings()) {
        DxfDrawing drawing;
        try {
            drawing = readDxfDrawing(file.string());
        } catch (const std::exception&) {
            continue;  // damaged beyond repair: the reader's tests cover these
        }
        RenderOptions options;
        options.width = 300;
        const RenderResult r = renderDrawingToFile(*drawing.database, options, dir.file("corpus.png"));
        EXPECT_TRUE(r.ok) << file << ": " << r.error;
        ++rendered;
        const std::string name = file.filename().string();
        if (name == "uncommon.dxf") {
            // Its solid carries only ACIS data: the one thing it leaves out.
            std::set<std::string> kinds;
            for (const auto& [kind, count] : r.report.skipped) kinds.insert(kind);
            EXPECT_EQ(kinds, (std::set<std::string>{"3DSOLID"}))
                << r.report.summary();
            EXPECT_GT(r.report.drawn, 150u);
            EXPECT_GT(r.report.hidden, 0u) << "the definition points of its dimensions";
        }
        if (name == "acad_table_with_blk_ref.dxf" || name == "hatches_1.dxf" || name == "multi_insert_with_attribs.dxf") {
            EXPECT_EQ(r.report.skippedCount(), 0u) << name << ": " << r.report.summary();
            EXPECT_GT(r.report.drawn, 10u) << name;
        }
    }
    EXPECT_GT(rendered, 15);
}
