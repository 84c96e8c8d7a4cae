#pragma once
#include <cstddef>
#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dxf/tags/DxfRecord.h"
#include "engine/dxf/tags/DxfTokenizer.h"
#include "engine/io/SourceText.h"

namespace cad {

// The sections read into objects; the others are kept as text.
bool isModelledDxfSection(std::string_view name);

// A record as the scan found it, ready to join its section.
struct DxfScannedRecord {
    DxfRecord record;
    std::uint32_t tagBegin = 0, tagEnd = 0;  // its tags in the batch, when kept
    bool kept = false;
    bool noHandle = false;   // a record of a modelled section without the handle it needs
    bool badHandle = false;  // its handle is empty or not a number
    bool badGroups = false;  // its head's 102 groups do not pair up
};

// What the scan met between records, in file order.
struct DxfScanEvent {
    enum class Kind : std::uint8_t { Warning, Preamble, SectionBegin, SectionEnd, Eof };
    Kind kind = Kind::Warning;
    std::size_t before = 0;  // the number of the batch's records that come before it
    std::size_t line = 0;
    std::size_t offset = 0, length = 0;  // Preamble: length only
    // SectionBegin: the section's number in order of first appearance; a number not seen before
    // opens a new section.
    std::size_t section = 0;
    std::string text;  // Warning: the message; SectionBegin: the name, upper case
    // SectionEnd of a HEADER: what it said, when it said it.
    bool header = false;
    std::optional<std::string_view> version;
    std::string_view codePage;
};

// How the text ended, for the checks made once it is all read.
struct DxfScanEnd {
    bool inName = false, inside = false;  // a section left without its name or its ENDSEC
    std::size_t sectionLine = 0;          // of the last SECTION
    bool sawSection = false, sawEof = false;
    std::size_t line = 0;  // the line after the last tag
    std::map<std::string, std::size_t> repeats;  // sections met again, and how often
    std::optional<std::string_view> version;
    std::string_view codePage;
};

// A stretch of the scan: records with their tags, and the events between them.
struct DxfScanBatch {
    std::vector<DxfTag> tags;
    std::vector<DxfScannedRecord> records;
    std::vector<DxfScanEvent> events;
    std::vector<std::string_view> newApps;  // 1001 names met for the first time, in order
    std::uint64_t maxReferenced = 0;        // the highest handle its tags refer to
    bool last = false;                      // the scan ends, or failed, in this batch
    std::optional<DxfScanEnd> end;
    std::exception_ptr error;

    void clear();
};

// Cuts a DXF text into sections and records, and finds each record's handle and owner and what is
// wrong with it. It shares nothing with the document that applies its batches, so that it can
// run on a thread of its own while the document is read.
class DxfScanner {
public:
    // Batches end at the first record boundary from these sizes on.
    static constexpr std::size_t kBatchTags = 8192;
    static constexpr std::size_t kBatchRecords = 2048;

    DxfScanner(std::shared_ptr<const SourceText> text, std::string fileName);
    DxfScanner(const DxfScanner&) = delete;
    DxfScanner& operator=(const DxfScanner&) = delete;

    // Scans on into `batch` (cleared first). Tags of the records of HEADER and the modelled
    // sections are kept in it when `keep` is set. Errors of the text end the batch with `error`.
    void fill(DxfScanBatch& batch, bool keep);

private:
    struct Section {
        std::string name;
        std::size_t line = 0;     // of its first SECTION
        std::size_t records = 0;  // opened so far
    };
    // One tag; false when the batch is full and the tag is left for the next one.
    bool step(const DxfTag& tag, DxfScanBatch& batch, bool keep);
    void closeRecord(std::size_t end, DxfScanBatch& batch);
    void openRecord(const DxfTag& tag, std::string_view type, DxfScanBatch& batch, bool keep);
    void warn(DxfScanBatch& batch, std::size_t line, std::string text);
    void event(DxfScanBatch& batch, DxfScanEvent e);
    void finish(DxfScanBatch& batch);

    std::shared_ptr<const SourceText> text_;
    std::string fileName_;
    DxfTokenizer tok_;  // views text_ and fileName_
    std::optional<DxfTag> pending_;  // the tag that opens the next batch's first record
    std::vector<Section> sections_;
    std::map<std::string, std::size_t> repeats_;
    std::vector<std::string_view> apps_;
    enum class State { Outside, Name, Inside } state_ = State::Outside;
    std::size_t sectionStart_ = 0, sectionLine_ = 0;
    std::size_t current_ = 0;
    bool header_ = false, modelled_ = false;
    bool sawSection_ = false, sawEof_ = false, done_ = false;
    bool droppingLead_ = false;
    std::size_t strayFrom_ = 0;
    std::string_view headerVar_;
    std::optional<std::string_view> version_;
    std::string_view codePage_;
    // The record being read.
    bool inRecord_ = false;
    bool keeping_ = false;
    DxfScannedRecord record_;
    bool handleSeen_ = false, ownerSeen_ = false;
    int handleCode_ = 5;
    // Where the 102 groups of the head go wrong: a `}` with no group open, a `{` inside an open
    // group, or a group still open where the head ends (the first 100 or 1001). Readers take
    // everything up to the next `}` as the group, so one bad marker would swallow the owner and
    // the whole body, and what is written back would be swallowed again on the next read.
    bool groupOpen_ = false, headDone_ = false, groupsBad_ = false;
};

}  // namespace cad
