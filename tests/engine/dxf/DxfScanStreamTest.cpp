#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/FloorPlanGenerator.h"
#include "engine/db/Database.h"
#include "engine/dxf/DxfDatabaseReader.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/tags/DxfScanStream.h"
#include "engine/dxf/tags/DxfScanner.h"

namespace {

// A generated plan well past the size that is scanned on a second thread.
const std::string& bigPlan() {
    static const std::string text = [] {
        auto db = cad::Database::createDefault();
        floorplan::Options options;
        options.columns = options.rows = 40;
        options.spaceEvery = 1;
        floorplan::Generator(*db, options).build();
        return cad::writeDxfDrawing(*db, cad::DxfFileInfo{});
    }();
    return text;
}

std::string tagText(const cad::DxfTag& t) {
    return std::to_string(t.code) + "@" + std::to_string(t.line) + ":" + std::to_string(t.offset) + "=" +
           std::string(t.value);
}

// Everything a batch says, one line per record or event, in the order they are to be applied.
void describe(const cad::DxfScanBatch& b, std::vector<std::string>& out) {
    std::size_t e = 0;
    for (std::size_t r = 0; r <= b.records.size(); ++r) {
        for (; e < b.events.size() && b.events[e].before <= r; ++e) {
            const cad::DxfScanEvent& ev = b.events[e];
            out.push_back("event " + std::to_string(static_cast<int>(ev.kind)) + " " + std::to_string(ev.line) + " " +
                          std::to_string(ev.offset) + "+" + std::to_string(ev.length) + " " +
                          std::to_string(ev.section) + " " + ev.text + " " + std::string(ev.version.value_or("-")) +
                          " " + std::string(ev.codePage));
        }
        if (r == b.records.size()) break;
        const cad::DxfScannedRecord& s = b.records[r];
        std::string line = "record " + std::string(s.record.type()) + " " + std::to_string(s.record.offset) + "+" +
                           std::to_string(s.record.length) + " line " + std::to_string(s.record.line) + " #" +
                           std::to_string(s.record.handle) + " owner " + std::to_string(s.record.owner) +
                           (s.noHandle ? " no-handle" : "") + (s.badHandle ? " bad-handle" : "") +
                           (s.badGroups ? " bad-groups" : "") + (s.kept ? " kept" : "");
        for (std::uint32_t k = s.tagBegin; k < s.tagEnd; ++k) line += " " + tagText(b.tags[k]);
        out.push_back(line);
    }
    for (std::string_view app : b.newApps) out.push_back("app " + std::string(app));
    out.push_back("referenced " + std::to_string(b.maxReferenced));
    if (b.end) {
        out.push_back("end " + std::to_string(b.end->inName) + std::to_string(b.end->inside) + " " +
                      std::to_string(b.end->sectionLine) + " " + std::to_string(b.end->sawSection) +
                      std::to_string(b.end->sawEof) + " " + std::to_string(b.end->line));
    }
    if (b.error) {
        try {
            std::rethrow_exception(b.error);
        } catch (const cad::DxfError& x) {
            out.push_back(std::string("error ") + x.what());
        }
    }
}

}  // namespace

// Scanned ahead on a second thread, through many more batches than are in flight at once, a text
// gives exactly what scanning it as asked for gives: records, events, kept tags, how it ended or
// the error. And batches end only between records: each record's kept tags are the tokenizer's
// tags of its text.
TEST(DxfScanStream, ScanningAheadGivesWhatScanningAsAskedGives) {
    const std::string& plan = bigPlan();
    ASSERT_GT(plan.size(), cad::DxfScanStream::kAheadFrom);
    const std::size_t late = plan.rfind("  0\r\nINSERT\r\n");
    std::string badCode = plan, unended = plan, damaged = plan;
    badCode.insert(late, "X1\r\n1F\r\n");
    unended.resize(plan.rfind("  0\r\nENDSEC\r\n"));
    // An empty handle and a group left open, late in ENTITIES.
    const std::size_t value = damaged.find("\r\n  5\r\n", late) + 7;
    damaged.erase(value, damaged.find("\r\n", value) - value);
    damaged.insert(damaged.find("\r\n330\r\n", late) + 2, "102\r\n{ACAD_REACTORS\r\n");
    struct Case {
        const char* name;
        const std::string* text;
        const char* last;  // what the last line of the description starts with
    };
    const Case cases[] = {{"sound", &plan, "end 00"}, {"a bad group code", &badCode, "error in.dxf, line "},
                          {"no ENDSEC", &unended, "end 01"}, {"damaged", &damaged, "end 00"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto text = std::make_shared<const cad::SourceText>(*c.text);
        std::vector<std::string> asked, ahead;
        cad::DxfScanner scanner(text, "in.dxf");
        const cad::DxfTokenizer whole(text->view(), "in.dxf");
        std::size_t batches = 0, records = 0;
        for (cad::DxfScanBatch b; !b.last; ++batches) {
            scanner.fill(b, true);
            describe(b, asked);
            for (const cad::DxfScannedRecord& s : b.records) {
                ++records;
                if (!s.kept) continue;
                cad::DxfTokenizer own = whole.slice(s.record.offset, s.record.length, s.record.line);
                std::string expected, got;
                for (cad::DxfTag t; own.next(t);) expected += tagText(t) + " ";
                for (std::uint32_t k = s.tagBegin; k < s.tagEnd; ++k) got += tagText(b.tags[k]) + " ";
                ASSERT_EQ(got, expected) << "record at line " << s.record.line;
            }
        }
        EXPECT_GT(batches, 20u);
        EXPECT_GT(records, 30000u);
        cad::DxfScanStream stream(text, "in.dxf", true);
        ASSERT_TRUE(stream.readingAhead());
        for (bool last = false; !last;) {
            const cad::DxfScanBatch& b = stream.take();
            describe(b, ahead);
            last = b.last;
            stream.giveBack();
        }
        ASSERT_EQ(ahead.size(), asked.size());
        for (std::size_t k = 0; k < asked.size(); ++k) ASSERT_EQ(ahead[k], asked[k]) << "line " << k;
        EXPECT_EQ(asked.back().rfind(c.last, 0), 0u) << asked.back().substr(0, 200);
        const auto marked = [&](const char* flag) {
            return std::count_if(asked.begin(), asked.end(),
                                 [&](const std::string& l) { return l.rfind("record ", 0) == 0 && l.find(flag) != std::string::npos; });
        };
        const long damage = c.text == &damaged ? 1 : 0;
        EXPECT_EQ(marked(" bad-handle"), damage);
        EXPECT_EQ(marked(" bad-groups"), damage);
    }
    // A reader that stops early leaves the scanning thread waiting for a batch to fill: dropping
    // the stream must end it.
    cad::DxfScanStream early(std::make_shared<const cad::SourceText>(plan), "in.dxf", true);
    EXPECT_FALSE(early.take().records.empty());
}

// A document read along a scan made on a second thread, which hands its kept tags over in
// batches, is what the document read whole gives; so is one whose damage is found late.
TEST(DxfScanStream, ADocumentScannedAheadReadsAsTheWholeDocument) {
    std::string damaged = bigPlan();
    const std::size_t late = damaged.rfind("  0\r\nINSERT\r\n");
    damaged.insert(damaged.find("\r\n330\r\n", late) + 2, "102\r\n{ACAD_REACTORS\r\n");
    for (const std::string* text : {&bigPlan(), static_cast<const std::string*>(&damaged)}) {
        auto along = cad::readDxfDrawingText(*text, "in.dxf");
        auto doc = cad::DxfDocument::parse(*text, "in.dxf");
        auto whole = cad::DxfDatabaseReader(doc).read();
        EXPECT_EQ(along.readInOnePass, text == &bigPlan());
        EXPECT_EQ(along.warnings, whole.warnings);
        EXPECT_TRUE(cad::writeDxfDrawing(*along.database, along.file) == cad::writeDxfDrawing(*whole.database, whole.file));
    }
}
