#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "engine/db/BlockTableRecord.h"
#include "engine/db/Database.h"
#include "engine/db/Entity.h"
#include "engine/db/SymbolTable.h"
#include "engine/dxf/DxfDatabaseReader.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"
#include "bench/FloorPlanGenerator.h"
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

// Along the scan, giving up every record as soon as it is read.
cad::DxfDrawing givingUpEach(const std::string& text) {
    auto doc = cad::DxfDocument::open(text, "in.dxf");
    doc.setDropStep(1);
    return cad::DxfDatabaseReader(doc).read();
}

cad::DxfDrawing wholeFirst(const std::string& text) {
    auto doc = cad::DxfDocument::parse(text, "in.dxf");
    return cad::DxfDatabaseReader(doc).read();
}

// Reads both ways (along the scan also giving up every record at once), expects the same, and
// returns the read along the scan.
Outcome readBothWays(const std::string& text) {
    const Outcome along = outcomeOf(alongTheScan, text);
    const Outcome whole = outcomeOf(wholeFirst, text);
    EXPECT_EQ(along.error, whole.error);
    EXPECT_EQ(along.warnings, whole.warnings);
    EXPECT_TRUE(along.text == whole.text) << "the written texts differ";
    EXPECT_FALSE(whole.onePass);
    const Outcome eager = outcomeOf(givingUpEach, text);
    EXPECT_EQ(eager.error, whole.error);
    EXPECT_EQ(eager.warnings, whole.warnings);
    EXPECT_TRUE(eager.text == whole.text) << "giving up every record, the written texts differ";
    EXPECT_EQ(eager.onePass, along.onePass);
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

// Tables written after the entities are read before them: found while reading along, the reading
// starts over in that order, and the drawing comes back as if written in the usual one.
TEST(DxfDatabaseReader, TablesWrittenLastAreReadFirst) {
    const std::string line = crlf(
        "  0\nLINE\n  5\nF00\n330\n14\n100\nAcDbEntity\n  8\nPLAN\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n"
        " 11\n1\n 21\n1\n 31\n0\n");
    std::string usual = soundDrawing(line);
    const std::string layerTable = crlf("TABLE\n  2\nLAYER\n  5\n");
    const std::size_t layers = usual.find(layerTable);
    ASSERT_NE(layers, std::string::npos);
    const std::size_t handleAt = layers + layerTable.size();
    const std::string tableHandle = usual.substr(handleAt, usual.find('\r', handleAt) - handleAt);
    const std::string layer = crlf("  0\nLAYER\n  5\nE00\n330\n" + tableHandle +
                                   "\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n  2\nPLAN\n"
                                   " 70\n0\n 62\n3\n  6\nContinuous\n");
    usual.insert(usual.find(crlf("  0\nENDTAB\n"), layers), layer);
    const Outcome expected = readBothWays(usual);
    ASSERT_TRUE(expected.error.empty()) << expected.error;

    // TABLES moved behind OBJECTS, the last section.
    const std::string head = crlf("  0\nSECTION\n  2\nTABLES\n");
    const std::string end = crlf("  0\nENDSEC\n");
    const std::size_t from = usual.find(head);
    const std::size_t to = usual.find(end, from) + end.size();
    std::string late = usual;
    const std::string tables = late.substr(from, to - from);
    late.erase(from, to - from);
    late.insert(late.rfind(crlf("  0\nEOF\n")), tables);
    const Outcome o = readBothWays(late);
    EXPECT_FALSE(o.onePass);
    EXPECT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.warnings, expected.warnings);
    EXPECT_TRUE(o.text == expected.text) << "the drawing differs from the one written in the usual order";
}

// A long section read along gives up its records as they are read; a handle used twice among them
// is still found at the end, and the read starts over from the whole text. An owner named before
// it is read, or given up before what it owns is read, is no damage.
TEST(DxfDatabaseReader, RecordsGivenUpWhileReadingAlongStillHaveTheirDamageFound) {
    const auto hex = [](std::uint32_t handle) {
        char out[16];
        std::snprintf(out, sizeof out, "%X", handle);
        return std::string(out);
    };
    const auto line = [](const std::string& handle, const std::string& owner) {
        return crlf("  0\nLINE\n  5\n" + handle + "\n330\n" + owner +
                    "\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n");
    };
    constexpr std::uint32_t kFirst = 0x10000, kLines = 9000;
    // The lines, the one at `at` replaced.
    const auto lines = [&](std::uint32_t at, const std::string& changed) {
        std::string out;
        for (std::uint32_t i = 0; i < kLines; ++i) out += i == at ? changed : line(hex(kFirst + i), "14");
        return out;
    };
    {
        SCOPED_TRACE("two early lines with one handle, far apart");
        const Outcome o = readBothWays(soundDrawing(lines(2000, line(hex(kFirst + 1000), "14"))));
        EXPECT_FALSE(o.onePass);
        EXPECT_TRUE(hasWarningContaining(o.warnings, "a second time")) << ::testing::PrintToString(o.warnings);
    }
    {
        SCOPED_TRACE("an object owned by an early line");
        const std::string owned = crlf("  0\nLINE\n  5\n" + hex(kFirst + 5) + "\n102\n{ACAD_XDICTIONARY\n360\nF10\n102\n}\n330\n14\n"
                                       "100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n");
        const std::string dictionary =
            crlf("  0\nDICTIONARY\n  5\nF10\n330\n" + hex(kFirst + 5) + "\n100\nAcDbDictionary\n281\n1\n");
        const Outcome o = readBothWays(soundDrawing(lines(5, owned), dictionary));
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(o.warnings.empty()) << ::testing::PrintToString(o.warnings);
    }
    {
        SCOPED_TRACE("an early line owned by the last one");
        const Outcome o = readBothWays(soundDrawing(lines(3, line(hex(kFirst + 3), hex(kFirst + kLines - 1)))));
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(hasWarningContaining(o.warnings, "; set to #")) << ::testing::PrintToString(o.warnings);
    }
}

// The same on a generated plan of 900 rooms (references with attributes, space blocks with their
// extended data, blocks enough to be given up too): damage in the first records of each kind is
// found and the plan read again, and what is read either way is the same.
TEST(DxfDatabaseReader, AGeneratedPlanReadsAlikeWithDamageAmongRecordsGivenUp) {
    auto db = cad::Database::createDefault();
    floorplan::Options options;
    options.columns = options.rows = 30;
    options.spaceEvery = 1;
    floorplan::Generator(*db, options).build();
    const std::string plan = cad::writeDxfDrawing(*db, cad::DxfFileInfo{});
    {
        SCOPED_TRACE("sound");
        const Outcome o = readBothWays(plan);
        EXPECT_TRUE(o.onePass);
        EXPECT_TRUE(o.warnings.empty()) << ::testing::PrintToString(o.warnings);
        auto doc = cad::DxfDocument::open(plan, "in.dxf");
        cad::DxfDatabaseReader(doc).read();
        EXPECT_TRUE(doc.droppedRecords());
    }
    // The value line after the group code `code` in the n-th record of `type` (from the end when
    // n is negative).
    const auto valueAt = [&](const std::string& text, const std::string& type, int n, const std::string& code) {
        const std::string head = crlf("  0\n" + type + "\n");
        std::vector<std::size_t> at;
        for (std::size_t p = text.find(head); p != std::string::npos; p = text.find(head, p + 1)) at.push_back(p);
        const std::size_t record = at.at(n >= 0 ? static_cast<std::size_t>(n) : at.size() - static_cast<std::size_t>(-n));
        const std::size_t line = text.find(crlf("\n" + code + "\n"), record) + code.size() + 4;
        return std::make_pair(line, text.find('\r', line) - line);
    };
    const auto replaced = [](std::string text, std::pair<std::size_t, std::size_t> at, const std::string& value) {
        return text.replace(at.first, at.second, value);
    };
    const auto late = valueAt(plan, "ATTRIB", -3, "  5");
    const std::string lateHandle = plan.substr(late.first, late.second);
    struct Case {
        const char* name;
        std::string text;
        const char* warning;
    };
    const Case cases[] = {
        {"an early attribute with a late one's handle", replaced(plan, valueAt(plan, "ATTRIB", 5, "  5"), lateHandle),
         "a second time"},
        {"an early reference owned by nobody", replaced(plan, valueAt(plan, "INSERT", 7, "330"), "ABCDEF"),
         "which does not exist"},
        {"an early line of a block owned by nobody", replaced(plan, valueAt(plan, "LWPOLYLINE", 3, "330"), "ABCDEF"),
         "which does not exist"},
        {"a late attribute without its handle", replaced(plan, valueAt(plan, "ATTRIB", -2, "  5"), ""),
         "has an empty or invalid handle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.text != plan);
        const Outcome o = readBothWays(c.text);
        EXPECT_FALSE(o.onePass);
        EXPECT_TRUE(o.error.empty()) << o.error;
        EXPECT_TRUE(hasWarningContaining(o.warnings, c.warning)) << ::testing::PrintToString(o.warnings);
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

// Layer names are looked up as the file spells them and decoded once per layer: in a drawing of
// a code page, entities read every way (a plain one, a polyline made lightweight, one kept whole,
// a block's head and end) all land on the one layer whose name the bytes spell in that page.
TEST(DxfDatabaseReader, EveryKindOfRecordFindsItsLayerByTheNameInTheFilesCodePage) {
    const std::string text = crlf(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n  9\n$DWGCODEPAGE\n  3\nANSI_1252\n  0\nENDSEC\n"
        "  0\nSECTION\n  2\nBLOCKS\n"
        "  0\nBLOCK\n  8\nB\xFCro\n  2\nDESK\n 70\n0\n 10\n0\n 20\n0\n 30\n0\n"
        "  0\nLINE\n  8\nB\xFCro\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n"
        "  0\nENDBLK\n  8\nB\xFCro\n"
        "  0\nENDSEC\n"
        "  0\nSECTION\n  2\nENTITIES\n"
        "  0\nLINE\n  8\nB\xFCro\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n"
        "  0\nPOLYLINE\n  8\nB\xFCro\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n 70\n0\n"
        "  0\nVERTEX\n  8\nB\xFCro\n 10\n1\n 20\n2\n 30\n0\n"
        "  0\nVERTEX\n  8\nB\xFCro\n 10\n4\n 20\n5\n 30\n0\n"
        "  0\nSEQEND\n  8\nB\xFCro\n"
        "  0\nPOLYLINE\n  8\nB\xFCro\n 66\n1\n 10\n0\n 20\n0\n 30\n0\n 70\n8\n"
        "  0\nVERTEX\n  8\nB\xFCro\n 10\n1\n 20\n2\n 30\n3\n 70\n32\n"
        "  0\nSEQEND\n  8\nB\xFCro\n"
        "  0\nENDSEC\n  0\nEOF\n");
    const auto d = cad::readDxfDrawingText(text, "page.dxf");
    const cad::Database& db = *d.database;
    const std::string name = "B\xC3\xBCro";
    const cad::ObjectId layer = db.recordId(cad::TableKind::Layer, name);
    ASSERT_FALSE(layer.isNull()) << ::testing::PrintToString(d.warnings);
    const auto* layers = static_cast<const cad::SymbolTable*>(db.objectAt(db.layerTableId()));
    EXPECT_EQ(layers->recordIds().size(), 2u) << "layer 0 and " << name;
    std::size_t onIt = 0;
    const auto count = [&](cad::ObjectId block) {
        for (cad::ObjectId id : static_cast<const cad::BlockTableRecord*>(db.objectAt(block))->entityIds()) {
            const auto* e = static_cast<const cad::Entity*>(db.objectAt(id));
            EXPECT_EQ(e->layerId(), layer) << e->dxfName();
            ++onIt;
        }
    };
    count(db.modelSpaceId());
    const auto* desk = static_cast<const cad::BlockTableRecord*>(db.objectAt(db.recordId(cad::TableKind::Block, "DESK")));
    ASSERT_NE(desk, nullptr);
    count(desk->objectId());
    EXPECT_EQ(onIt, 4u);
    for (cad::ObjectId id : {desk->blockBeginId(), desk->blockEndId()})
        EXPECT_EQ(static_cast<const cad::Entity*>(db.objectAt(id))->layerId(), layer);
}
