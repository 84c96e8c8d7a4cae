#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dxf/DxfCodePage.h"
#include "engine/dxf/tags/DxfRecord.h"
#include "engine/dxf/tags/DxfHandleMap.h"
#include "engine/dxf/tags/DxfHandleSet.h"
#include "engine/dxf/tags/DxfTokenizer.h"
#include "engine/io/SourceText.h"

namespace cad {

struct DxfScanEvent;
struct DxfScannedRecord;

struct DxfSection {
    std::string name;             // upper case
    std::size_t line = 0;
    std::size_t headOffset = 0, headLength = 0;  // `0 SECTION 2 NAME`
    std::size_t endOffset = 0, endLength = 0;    // `0 ENDSEC`
    std::vector<DxfRecord> records;
    // Number of the section's record that records[0] is: the ones before it were read along and
    // dropped (DxfDocument::dropRecordsBefore). Records are numbered from the section's start.
    std::size_t first = 0;

    std::size_t end() const { return first + records.size(); }
    DxfRecord& at(std::size_t k) { return records[k - first]; }
    const DxfRecord& at(std::size_t k) const { return records[k - first]; }
};

// Versions as numbers: AC1015 -> 1015; 0 when unknown.
int dxfVersionNumber(std::string_view acadver);
constexpr int kDxfR12 = 1009;
constexpr int kDxfR2000 = 1015;
constexpr int kDxfR2007 = 1021;
constexpr int kDxfR2018 = 1032;

// An ASCII DXF file split into sections and records over one shared buffer. Reading never
// interprets more than structure, handles, owners and a few header variables, so every byte the
// engine does not model survives a save.
class DxfDocument {
public:
    // Reads a file whole. Throws DxfError naming the file and line on malformed input.
    static DxfDocument readFile(const std::string& path);
    static DxfDocument parse(std::string text, std::string fileName);
    // A document scanned only as far as its reader asks, so that objects are built while the
    // text is read: one pass over it. Nothing is read yet.
    static DxfDocument open(std::string text, std::string fileName);
    static DxfDocument open(std::shared_ptr<const SourceText> text, std::string fileName);

    DxfDocument(DxfDocument&&) noexcept;
    DxfDocument& operator=(DxfDocument&&) noexcept;
    ~DxfDocument();

    // Scanning on demand (documents from open()).
    bool scanning() const { return scan_ != nullptr; }
    // Reads on until one more record or section is complete; false once the text is all read.
    bool scanMore();
    // Reads what is left and makes the repairs parse() makes. Throws DxfError like parse().
    void finishScan();
    // True while records may still be added to the section.
    bool sectionOpen(std::size_t index) const;
    // Nothing in the text read so far was warned about or repaired.
    bool pristine() const;
    // The scan stopped on an error and cannot go on.
    bool scanFailed() const;
    // While scanning: whoever reads along is done with the records of the section before number
    // `k`. They are dropped once enough have gathered, so that their memory is used again. Their
    // handles and owners are kept for the checks at the end of the scan, which then only tell
    // whether the document is pristine: one with dropped records cannot be repaired or written,
    // and a reader that needs the whole document opens the text again.
    void dropRecordsBefore(std::size_t section, std::size_t k);
    bool droppedRecords() const;
    // Records are given up this many at a time at least (4096; tests take 1).
    void setDropStep(std::size_t records) { dropStep_ = std::max<std::size_t>(records, 1); }

    const std::string& fileName() const { return fileName_; }
    const std::shared_ptr<const SourceText>& buffer() const { return buffer_; }
    // The text before `offset` is done with for now (see SourceText::release).
    void releaseBefore(std::size_t offset) const;
    std::string_view lineEnding() const { return lineEnding_; }
    const std::string& version() const { return version_; }  // "$ACADVER", "AC1009" when absent
    int versionNumber() const { return dxfVersionNumber(version_); }
    const DxfCodePage& codePage() const { return *codePage_; }
    const std::vector<std::string>& warnings() const { return warnings_; }

    std::vector<DxfSection>& sections() { return sections_; }
    const std::vector<DxfSection>& sections() const { return sections_; }
    DxfSection* section(std::string_view name);
    const DxfSection* section(std::string_view name) const;

    // The record's text: its replacement or its source span.
    std::string_view text(const DxfRecord& record) const;
    // The record's tags, read again from its text (or, while scanning, kept from the scan until
    // asked for once); line numbers as in the file.
    std::vector<DxfTag> tags(const DxfRecord& record) const;
    // The same into `out` (cleared first), for readers that reuse one buffer.
    void tags(const DxfRecord& record, std::vector<DxfTag>& out) const;
    // The (first) value of a header variable as written, or empty.
    std::string_view headerValue(std::string_view name) const;

    // Handles.
    std::uint64_t maxHandle() const { return maxHandle_; }
    // A handle nothing in the file has or refers to: a dangling reference must not come to name
    // an object made while reading.
    std::uint64_t newHandle();
    const DxfRecord* findHandle(std::uint64_t handle) const;

    // Replaces a record's text (tags already formatted).
    void replace(DxfRecord& record, std::string text);
    // Replaces one value line; tag must come from tags(record).
    void replaceValue(DxfRecord& record, const DxfTag& tag, std::string_view value);

    // The file text. Unchanged records are copied; $HANDSEED is raised above every handle and
    // application names used in XDATA are added to APPID when missing.
    std::string write();
    // Writes atomically: a temporary file in the target's folder, flushed, synced and renamed.
    void save(const std::string& path);

private:
    struct ScanState;

    DxfDocument();
    void startScan();
    // Applies what the scan found next; true when that was a record or a section's start or end.
    bool applyNext();
    bool applyEvent(const DxfScanEvent& event);
    void applyRecord(const DxfScannedRecord& scanned);
    void takeBatch();
    // The record's tags as the scan kept them, if it did and they are still at hand.
    bool keptTags(const DxfRecord& record, std::vector<DxfTag>& out) const;
    void endScan();
    void repairHandles();
    // Drops stray `102 }` and closes groups left open, so that the head reads the same every time.
    void repairGroups(DxfRecord& record, bool report = true);
    void indexHandles();
    void repairTableOwners();
    void fixHandseed();
    void registerApplications();
    void warn(std::size_t line, const std::string& text);
    DxfTokenizer tokenizer() const { return DxfTokenizer(buffer_->view(), fileName_); }

    std::string fileName_;
    std::shared_ptr<const SourceText> buffer_;
    mutable std::size_t released_ = 0;
    std::string lineEnding_ = "\r\n";
    std::string version_ = "AC1009";
    std::unique_ptr<DxfCodePage> codePage_;
    std::vector<std::string> warnings_;
    std::size_t preambleLength_ = 0;  // comments before the first section
    std::size_t eofOffset_ = 0, eofLength_ = 0;
    std::vector<DxfSection> sections_;
    std::uint64_t maxHandle_ = 0;
    // The highest handle a record refers to: newHandle() stays above it, so that a dangling
    // reference never comes to name an object made while reading.
    std::uint64_t maxReferenced_ = 0;
    DxfHandleMap handleIndex_;
    std::vector<std::string> usedApps_;  // 1001 names in file order, distinct
    std::size_t repairs_ = 0;             // records changed or dropped while reading
    // The texts of records changed or added, by DxfRecord::replacement; a deque, as views of them
    // are held while more are added.
    std::deque<std::string> replacements_;
    // Of the records dropped while read along: their handles, the owners they name, and whether
    // anything in them needs a repair.
    DxfHandleSet droppedHandles_;
    std::vector<std::uint64_t> droppedOwners_;
    bool droppedTrouble_ = false;
    std::size_t dropStep_ = 4096;  // dropping moves the records that stay to the front
    std::unique_ptr<ScanState> scan_;     // while the text is not all scanned
};

}  // namespace cad
