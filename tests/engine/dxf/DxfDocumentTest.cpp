#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/db/Line.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfFile.h"
#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfHandle.h"
#include "tests/engine/db/DbTestSupport.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace {

std::string errorOf(const std::string& text) {
    try {
        cad::DxfDocument::parse(text, "bad.dxf");
    } catch (const cad::DxfError& e) {
        return e.what();
    }
    return "";
}

const char* kSmall =
    "999\ncomment\n"
    "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$HANDSEED\n  5\n10\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nTABLES\n"
    "  0\nTABLE\n  2\nAPPID\n  5\n3\n330\n0\n100\nAcDbSymbolTable\n 70\n1\n"
    "  0\nAPPID\n  5\n4\n330\n3\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n  2\nACAD\n 70\n0\n"
    "  0\nENDTAB\n  0\nENDSEC\n"
    "  0\nSECTION\n  2\nENTITIES\n"
    "  0\nLINE\n  5\n2A\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n"
    "1001\nMYAPP\n1000\n  spaced  \n"
    "  0\nENDSEC\n"
    "  0\nSECTION\n  2\nMYSECTION\n  1\nwhatever\n 70\n5\n  0\nTHING\n  5\n77\n  0\nENDSEC\n"
    "  0\nEOF\n";

}  // namespace

TEST(DxfDocument, KeepsEverythingAndFixesRegistrationAndHandseed) {
    auto doc = cad::DxfDocument::parse(kSmall, "small.dxf");
    EXPECT_EQ(doc.version(), "AC1015");
    EXPECT_EQ(doc.versionNumber(), 1015);
    ASSERT_EQ(doc.sections().size(), 4u);
    const cad::DxfSection* unknown = doc.section("MYSECTION");
    ASSERT_NE(unknown, nullptr);
    ASSERT_EQ(unknown->records.size(), 2u);
    EXPECT_EQ(unknown->records[0].type(), "");  // the section's own lead tags
    EXPECT_EQ(unknown->records[1].type(), "THING");
    const cad::DxfRecord* line = doc.findHandle(0x2A);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->type(), "LINE");
    EXPECT_EQ(line->owner, 0x1Fu);
    EXPECT_EQ(line->line, 55u);
    EXPECT_EQ(doc.maxHandle(), 0x77u);

    const std::string out = doc.write();
    // MYAPP gets an APPID entry, $HANDSEED rises above 77 and 78 (the new APPID), all else as read.
    EXPECT_NE(out.find("  0\nAPPID\n  5\n78\n330\n3\n100\nAcDbSymbolTableRecord\n100\nAcDbRegAppTableRecord\n"
                       "  2\nMYAPP\n 70\n     0\n  0\nENDTAB\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("  9\n$HANDSEED\n  5\n79\n"), std::string::npos);
    EXPECT_NE(out.find("1000\n  spaced  \n"), std::string::npos);
    EXPECT_EQ(out.rfind("999\ncomment\n", 0), 0u);
    EXPECT_NE(out.find("  2\nMYSECTION\n  1\nwhatever\n 70\n5\n  0\nTHING\n"), std::string::npos);
    // A second pass over its own output changes nothing.
    auto again = cad::DxfDocument::parse(out, "again.dxf");
    EXPECT_EQ(again.write(), out);
    // Only the owner the sample leaves out is reported, at its new line.
    ASSERT_EQ(again.warnings().size(), 1u) << ::testing::PrintToString(again.warnings());
    EXPECT_EQ(again.warnings()[0], "line 69: LINE #2A names owner #1F, which does not exist");
}

TEST(DxfDocument, StructureErrorsNameTheLine) {
    EXPECT_EQ(errorOf(""), "bad.dxf, line 1: not a DXF file: no SECTION found");
    EXPECT_EQ(errorOf("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\n0\n"),
              "bad.dxf, line 1: section ENTITIES has no ENDSEC; the file ends at line 8");
    EXPECT_EQ(errorOf("  0\nSECTION\n  2\nENTITIES\n  0\nSECTION\n  2\nX\n  0\nENDSEC\n  0\nEOF\n"),
              "bad.dxf, line 5: section ENTITIES from line 1 has no ENDSEC");
    EXPECT_EQ(errorOf("  0\nSECTION\n  8\nENTITIES\n"), "bad.dxf, line 3: SECTION without a name (group code 2)");
    EXPECT_EQ(errorOf("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\nxx\n0\n"), "bad.dxf, line 7: invalid group code 'xx'");
    EXPECT_EQ(errorOf("  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n 10\n"),
              "bad.dxf, line 7: file ends after group code 10");
}

// Large files are tokenized ahead of the scan; what it reports must not change with that.
TEST(DxfDocument, LargeFilesReportTheLinesSmallOnesDo) {
    std::string entities = "  0\nSECTION\n  2\nENTITIES\n";
    for (int i = 1; entities.size() < (3u << 20) / 2; ++i)
        entities += "  0\nPOINT\n  5\n" + std::to_string(i) + "\n  8\n0\n 10\n1\n";
    const auto lines = [](const std::string& s) { return std::count(s.begin(), s.end(), '\n'); };
    EXPECT_EQ(errorOf(entities), "bad.dxf, line 1: section ENTITIES has no ENDSEC; the file ends at line " +
                                     std::to_string(lines(entities)));
    // The junk is not a tag: the scan must stop at EOF before the error the tokenizer met there.
    const std::string ended = entities + "  0\nENDSEC\n  0\nEOF\n";
    auto doc = cad::DxfDocument::parse(ended + "junk\n", "big.dxf");
    ASSERT_EQ(doc.warnings().size(), 1u) << ::testing::PrintToString(doc.warnings());
    EXPECT_EQ(doc.warnings()[0], "line " + std::to_string(lines(ended) + 1) + ": data after 0 EOF ignored");
    // Whole texts compared as one value: a failure prints their ends, not a diff of megabytes.
    const auto tail = [](const std::string& s) { return s.substr(s.size() - std::min<std::size_t>(s.size(), 40)); };
    std::string saved = doc.write();
    EXPECT_TRUE(saved == ended) << tail(saved);
    // Nor is a blank last line part of the section before it (a file without EOF).
    saved = cad::DxfDocument::parse(entities + "  0\nENDSEC\n\n", "big.dxf").write();
    EXPECT_TRUE(saved == ended) << tail(saved);
}

TEST(DxfDocument, RepairsDamagedHandlesAndOwnersWithWarnings) {
    const std::string text =
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1018\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nTABLES\n"
        "  0\nTABLE\n  2\nLAYER\n  5\n2\n330\n1A\n100\nAcDbSymbolTable\n"
        "  0\nLAYER\n  5\n10\n330\n19\n100\nAcDbSymbolTableRecord\n  2\n0\n"
        "  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nLINE\n  5\n20\n330\n2\n100\nAcDbEntity\n"
        "  0\nLINE\n  5\n20\n330\n2\n100\nAcDbEntity\n"
        "  0\nLINE\n  5\n\n330\n2\n100\nAcDbEntity\n"
        "  0\nLINE\n  5\nXYZ\n330\n15\n100\nAcDbEntity\n"
        "  0\nENDSEC\n";  // and no EOF
    auto doc = cad::DxfDocument::parse(text, "damaged.dxf");
    const auto& w = doc.warnings();
    ASSERT_EQ(w.size(), 7u) << ::testing::PrintToString(w);
    EXPECT_EQ(w[0], "line 76: the file has no 0 EOF; assumed at the end");
    EXPECT_EQ(w[1], "line 59: LINE has an empty or invalid handle; given 21");
    EXPECT_EQ(w[2], "line 67: LINE has an empty or invalid handle; given 22");
    EXPECT_EQ(w[3], "line 51: LINE uses handle 20 a second time; given 23");
    EXPECT_EQ(w[4], "line 15: TABLE #2 had owner #1A; set to #0");
    EXPECT_EQ(w[5], "line 25: LAYER #10 had owner #19; set to #2");
    EXPECT_EQ(w[6], "line 67: LINE #22 names owner #15, which does not exist");
    const std::string out = doc.write();
    auto back = cad::DxfDocument::parse(out, "back.dxf");
    EXPECT_EQ(back.warnings().size(), 1u);  // only the dangling owner is left to report
    for (std::uint64_t h : {0x20u, 0x21u, 0x22u, 0x23u}) EXPECT_NE(back.findHandle(h), nullptr) << h;
    EXPECT_NE(out.find("  0\nLINE\n  5\n21\n330\n2\n"), std::string::npos);
    EXPECT_NE(out.find("  9\n$HANDSEED\n  5\n24\n"), std::string::npos);
    EXPECT_NE(out.find("  0\nTABLE\n  2\nLAYER\n  5\n2\n330\n0\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 15), "ENDSEC\n  0\nEOF\n");
}

// Saving goes through the atomic replacement, whose permissions and left-overs AtomicFileTest checks.
TEST(DxfDocument, SavesItsTextAndNamesWhatCannotBeReadOrWritten) {
    dxftest::TempDir dir;
    const std::string path = dir.file("plan.dxf");
    dxftest::spit(path, kSmall);
    auto doc = cad::DxfDocument::readFile(path);
    doc.save(path);
    EXPECT_EQ(dxftest::slurp(path), doc.write());
    // A folder that does not exist fails with the path named, and no file appears.
    try {
        doc.save(dir.file("missing/plan.dxf"));
        FAIL();
    } catch (const cad::DxfError& e) {
        EXPECT_NE(std::string(e.what()).find("missing/plan.dxf"), std::string::npos);
    }
    EXPECT_THROW(cad::DxfDocument::readFile(dir.file("none.dxf")), cad::DxfError);
}

// Large drawings are saved piece by piece; the pieces must add up to the text, and a failure
// half way must leave the old file as it was.
TEST(DxfDocument, SavingInPiecesGivesTheWholeTextOrNothing) {
    dxftest::TempDir dir;
    const std::string path = dir.file("plan.dxf");
    auto db = cad::Database::createDefault();
    for (int i = 0; i < 20000; ++i)
        cad::test::append(*db, std::make_unique<cad::Line>(cad::Point3d{i * 1.5, 0, 0}, cad::Point3d{i * 1.5, 7.25, 0}));
    const cad::DxfFileInfo info;
    const std::string whole = cad::writeDxfDrawing(*db, info);
    ASSERT_GT(whole.size(), 2u << 20);  // several pieces
    cad::saveDxfDrawing(*db, info, path);
    EXPECT_EQ(dxftest::slurp(path), whole);

    int pieces = 0;
    EXPECT_THROW(cad::writeFileAtomically(path,
                                          [&](const std::function<void(std::string_view)>& sink) {
                                              sink("  0\nSECTION\n");
                                              ++pieces;
                                              throw cad::DxfError(path, 0, "stopped");
                                          }),
                 cad::DxfError);
    EXPECT_EQ(pieces, 1);
    EXPECT_EQ(dxftest::slurp(path), whole);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(DxfDocument, RepeatedSectionsJoinAndTheirLeadTagsAreDropped) {
    // Found by fuzzing: lead tags of a repeated section used to merge into the record before them,
    // so that the second reading saw a different file.
    const std::string text =
        "  0\nSECTION\n  2\nENTITIES\n  0\nENDTAB\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n  1\nLINE\n  5\n\n  0\nLINE\n  5\n2B\n  0\nENDSEC\n  0\nEOF\n";
    auto doc = cad::DxfDocument::parse(text, "rep.dxf");
    ASSERT_EQ(doc.sections().size(), 1u);
    ASSERT_EQ(doc.sections()[0].records.size(), 2u);
    EXPECT_EQ(doc.sections()[0].records[1].handle, 0x2Bu);
    EXPECT_EQ(doc.warnings(), (std::vector<std::string>{
                                  "line 9: section ENTITIES appears again; its records are joined to the first one",
                                  "line 13: tags at the start of a repeated ENTITIES section dropped"}));
    const std::string out = doc.write();
    EXPECT_EQ(out, "  0\nSECTION\n  2\nENTITIES\n  0\nENDTAB\n  0\nLINE\n  5\n2B\n  0\nENDSEC\n  0\nEOF\n");
    EXPECT_EQ(cad::DxfDocument::parse(out, "again.dxf").write(), out);
}
