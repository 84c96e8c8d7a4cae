// Every drawing of the shared corpus renders, and only the kinds the renderer does not draw are
// reported as skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "RenderTestSupport.h"
#include "engine/dxf/DxfDrawing.h"

using namespace cad;

namespace {

const std::filesystem::path kCorpus = std::filesystem::path(BRINMO_CORPUS) / "ezdxf";

}  // namespace

TEST(RenderCorpus, EveryDrawingRendersAndNamesWhatItSkipped) {
    if (!std::filesystem::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
    test::RenderDir dir;
    int rendered = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        if (entry.path().extension() != ".dxf") continue;
        DxfDrawing drawing;
        try {
            drawing = readDxfDrawing(entry.path().string());
        } catch (const std::exception&) {
            continue;  // damaged beyond repair: the reader's tests cover these
        }
        RenderOptions options;
        options.width = 300;
        const RenderResult r = renderDrawingToFile(*drawing.database, options, dir.file("corpus.png"));
        EXPECT_TRUE(r.ok) << entry.path() << ": " << r.error;
        ++rendered;
        const std::string name = entry.path().filename().string();
        if (name == "uncommon.dxf") {
            // Its solid carries only ACIS data: the one thing it leaves out.
            std::set<std::string> kinds;
            for (const auto& [kind, count] : r.report.skipped) kinds.insert(kind);
            EXPECT_EQ(kinds, (std::set<std::string>{"3DSOLID"}))
                << r.report.summary();
            EXPECT_GT(r.report.drawn, 200u);
        }
        if (name == "acad_table_with_blk_ref.dxf" || name == "hatches_1.dxf" || name == "multi_insert_with_attribs.dxf") {
            EXPECT_EQ(r.report.skippedCount(), 0u) << name << ": " << r.report.summary();
            EXPECT_GT(r.report.drawn, 10u) << name;
        }
    }
    EXPECT_GT(rendered, 15);
}
