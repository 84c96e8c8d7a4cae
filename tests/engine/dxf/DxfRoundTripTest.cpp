#include <gtest/gtest.h>

#include <filesystem>

#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfError.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace fs = std::filesystem;

TEST(DxfRoundTrip, CorpusOpensAndSoundFilesComeBackUnchanged) {
    SKIP_WITHOUT_CORPUS();
    dxftest::TempDir dir;
    const auto files = dxftest::corpusDrawings();
    ASSERT_GE(files.size(), 20u);
    for (const fs::path& src : files) {
        const std::string name = src.filename().string();
        const std::string copy = dir.file(name);
        dxftest::copyWritable(src, copy);
        SCOPED_TRACE(name);
        if (!dxftest::kDamagedDrawings.count(name)) {
            auto doc = cad::DxfDocument::readFile(copy);
            EXPECT_TRUE(doc.warnings().empty()) << ::testing::PrintToString(doc.warnings());
            doc.save(copy);
            EXPECT_EQ(dxftest::slurp(copy), dxftest::slurp(src.string()));
            continue;
        }
        // Damaged: either opens with warnings and writes something ezdxf reads without loss, or
        // fails naming a line.
        try {
            auto doc = cad::DxfDocument::readFile(copy);
            const std::string out = dir.file("out_" + name);
            doc.save(out);
            if (name != "layout_broken_links.dxf") {
                EXPECT_FALSE(doc.warnings().empty());
            }
            // ezdxf's own recovery stops on the broken layout links; there is no independent
            // reader to compare with for that one.
            if (name != "layout_broken_links.dxf") {
                auto check = dxftest::runScript("check_roundtrip.py", "--damaged " + src.string() + " " + out, dir);
                EXPECT_EQ(check.status, 0) << check.output;
            }
            auto again = cad::DxfDocument::readFile(out);
            EXPECT_EQ(again.write(), dxftest::slurp(out));
        } catch (const cad::DxfError& e) {
            EXPECT_GT(e.line(), 0u) << e.what();
        }
    }
}
