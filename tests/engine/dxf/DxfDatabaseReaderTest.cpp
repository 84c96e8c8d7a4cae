#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "engine/db/Database.h"
#include "engine/dxf/DxfDatabaseReader.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"
#include "tests/engine/dxf/DxfTestSupport.h"

namespace fs = std::filesystem;

namespace {

// What a read gives: the text written back and the warnings, or the error.
struct Outcome {
    std::string text;
    std::vector<std::string> warnings;
    std::string error;
    bool onePass = false;
};

Outcome outcomeOf(cad::DxfDrawing (*read)(const std::string&), const std::string& text) {
    Outcome o;
    try {
        auto drawing = read(text);
        o.text = cad::writeDxfDrawing(*drawing.database, drawing.file);
        o.warnings = drawing.warnings;
        o.onePass = drawing.readInOnePass;
    } catch (const cad::DxfError& e) {
        o.error = e.what();
    }
    return o;
}

cad::DxfDrawing alongTheScan(const std::string& text) { return cad::readDxfDrawingText(text, "in.dxf"); }

cad::DxfDrawing wholeFirst(const std::string& text) {
    auto doc = cad::DxfDocument::parse(text, "in.dxf");
    return cad::DxfDatabaseReader(doc).read();
}

// Reads both ways, expects the same, and returns the read along the scan.
Outcome readBothWays(const std::string& text) {
    const Outcome along = outcomeOf(alongTheScan, text);
    const Outcome whole = outcomeOf(wholeFirst, text);
    EXPECT_EQ(along.error, whole.error);
    EXPECT_EQ(along.warnings, whole.warnings);
    EXPECT_TRUE(along.text == whole.text) << "the written texts differ";
    EXPECT_FALSE(whole.onePass);
    return along;
}

// A sound new drawing with `records` put at the end of ENTITIES and `objects` at the end of OBJECTS.
std::string soundDrawing(const std::string& records = "", const std::string& objects = "") {
    auto db = cad::Database::createDefault();
    std::string text = cad::writeDxfDrawing(*db, cad::DxfFileInfo{});
    const std::size_t entities = text.find("ENTITIES\r\n");
    const std::size_t entitiesEnd = text.find("ENDSEC\r\n", entities);
    text.insert(text.rfind("  0\r\n", entitiesEnd), records);
    const std::size_t objectsEnd = text.find("ENDSEC\r\n", text.find("OBJECTS\r\n"));
    text.insert(text.rfind("  0\r\n", objectsEnd), objects);
    return text;
}

std::string crlf(std::string s) {
    std::string out;
    for (char c : s) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool hasWarningContaining(const std::vector<std::string>& warnings, const std::string& text) {
    return std::any_of(warnings.begin(), warnings.end(),
                       [&](const std::string& w) { return w.find(text) != std::string::npos; });
}

}  // namespace

// Every real drawing, and every input the fuzzer kept, reads the same along the scan as from the
// whole document; the sound R2000+ ones without a single warning are read in one pass.
TEST(DxfDatabaseReader, ReadingAlongTheScanGivesWhatReadingTheWholeDocumentGives) {
    // Without the shared corpus the fuzzer's inputs still hold the line.
    std::vector<fs::path> files = dxftest::corpusDrawings();
    for (const auto& e : fs::directory_iterator(fs::path(BRINMO_SOURCE_DIR) / "fuzz" / "regressions"))
        files.push_back(e.path());
    std::sort(files.begin(), files.end());
    int onePass = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string text = dxftest::slurp(file.string());
        const Outcome o = readBothWays(text);
        if (!o.error.empty()) continue;
        const auto doc = cad::DxfDocument::parse(text, "in.dxf");
        if (doc.versionNumber() < cad::kDxfR2000) {
            EXPECT_FALSE(o.onePass);
        } else if (o.warnings.empty()) {
            EXPECT_TRUE(o.onePass);
        }
        onePass += o.onePass ? 1 : 0;
    }
    if (dxftest::haveCorpus()) {
        EXPECT_GE(onePass, 10);
    }
}

// What only the whole scan can repair, or a handle the reader would have to invent, is found after
// objects were built from the text before it: the reading starts over from the repaired document.
TEST(DxfDatabaseReader, DamageFoundLateStartsTheReadingOver) {
    const std::string line = crlf(
        "  0\nLINE\n  5\nF00\n330\n14\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n"
        " 11\n1\n 21\n1\n 31\n0\n");
    {
        SCOPED_TRACE("sound");
        const Outcome o = readBothWays(soundDrawing(line));
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(o.warnings.empty()) << ::testing::PrintToString(o.warnings);
        EXPECT_NE(o.text.find(crlf("LINE\n  5\nF00\n")), std::string::npos);
    }
    struct Case {
        const char* name;
        std::string text;
        const char* warning;
    };
    std::string onUnknownLayer = line;
    onUnknownLayer.replace(onUnknownLayer.find(crlf("  8\n0\n")), 8, crlf("  8\nPLAN\n"));
    const std::string noHandle = crlf("  0\nLINE\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 11\n1\n 21\n1\n");
    const std::string sameHandle =
        crlf("  0\nXRECORD\n  5\nF00\n330\n1\n100\nAcDbXrecord\n280\n1\n  1\nkept\n");
    const Case cases[] = {
        {"a handle used twice in the last object", soundDrawing(line, sameHandle), "a second time"},
        {"an entity without a handle", soundDrawing(line + noHandle), "LINE has no handle; given"},
        {"a layer nobody defined", soundDrawing(onUnknownLayer), "layer PLAN was not defined; added"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = readBothWays(c.text);
        EXPECT_FALSE(o.onePass);
        EXPECT_TRUE(o.error.empty()) << o.error;
        EXPECT_TRUE(hasWarningContaining(o.warnings, c.warning)) << ::testing::PrintToString(o.warnings);
    }
}

// A long section read along gives up its records as they are read; damage among them (a handle
// used twice, an owner nobody has) is still found at the end, and the read starts over from the
// whole text. An owner named before it is read is no damage.
TEST(DxfDatabaseReader, RecordsGivenUpWhileReadingAlongStillHaveTheirDamageFound) {
    const auto line = [](std::uint32_t handle, const std::string& owner) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%X", handle);
        return crlf("  0\nLINE\n  5\n" + std::string(hex) + "\n330\n" + owner +
                    "\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n");
    };
    constexpr std::uint32_t kFirst = 0x10000, kLines = 9000;
    const auto lines = [&](std::uint32_t at, const std::string& changed) {
        std::string out;
        for (std::uint32_t i = 0; i < kLines; ++i) out += i == at ? changed : line(kFirst + i, "14");
        return out;
    };
    {
        SCOPED_TRACE("sound");
        const std::string text = soundDrawing(lines(kLines, ""));
        const Outcome o = readBothWays(text);
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(o.warnings.empty()) << ::testing::PrintToString(o.warnings);
        auto doc = cad::DxfDocument::open(text, "in.dxf");
        cad::DxfDatabaseReader(doc).read();
        EXPECT_TRUE(doc.droppedRecords());
    }
    struct Case {
        const char* name;
        std::string text;
        const char* warning;
    };
    const Case cases[] = {
        {"the first line's handle again at the end", soundDrawing(lines(kLines - 1, line(kFirst, "14"))),
         "a second time"},
        {"two early lines with one handle", soundDrawing(lines(2000, line(kFirst + 1000, "14"))), "a second time"},
        {"an early line owned by nobody", soundDrawing(lines(2, line(kFirst + 2, "7FFFFF"))), "which does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome o = readBothWays(c.text);
        EXPECT_FALSE(o.onePass);
        EXPECT_TRUE(o.error.empty()) << o.error;
        EXPECT_TRUE(hasWarningContaining(o.warnings, c.warning)) << ::testing::PrintToString(o.warnings);
    }
    {
        SCOPED_TRACE("an early line owned by the last one");
        char last[16];
        std::snprintf(last, sizeof last, "%X", kFirst + kLines - 1);
        const Outcome o = readBothWays(soundDrawing(lines(3, line(kFirst + 3, last))));
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(hasWarningContaining(o.warnings, "; set to #")) << ::testing::PrintToString(o.warnings);
    }
}

// An error names the same line whether it is met along the scan or after it.
TEST(DxfDatabaseReader, ErrorsAreTheSameEitherWay) {
    const std::string badValue =
        crlf("  0\nLINE\n  5\nF00\n330\n14\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\nabc\n");
    const std::string badCode = crlf("  0\nLINE\n  5\nF00\nX1\n1F\n");
    std::string unended = soundDrawing();
    unended.resize(unended.find(crlf("  0\nENDSEC\n  0\nEOF")));
    for (const std::string& text : {soundDrawing(badValue), soundDrawing(badCode), unended}) {
        const Outcome o = readBothWays(text);
        EXPECT_FALSE(o.error.empty());
        EXPECT_NE(o.error.find("in.dxf, line "), std::string::npos) << o.error;
    }
}

// A drawing of nothing but its header tells its version only at the end of the scan; it is
// completed as an R2000+ drawing, with the same warnings as when read whole.
TEST(DxfDatabaseReader, HeaderOnlyDrawingIsCompletedAlike) {
    const std::string text = "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  0\nENDSEC\n  0\nEOF\n";
    const Outcome o = readBothWays(text);
    EXPECT_TRUE(hasWarningContaining(o.warnings, "table LAYER was missing; added"))
        << ::testing::PrintToString(o.warnings);
}
