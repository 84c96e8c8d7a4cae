// The tag layer's document: sections and records over one shared buffer. Invariants: a record is a
// span of that buffer until it is repaired (then it holds its replacement text), and an unreplaced
// record is written byte for byte; a scan can stop at any record and go on later, and a document
// is pristine until the first repair, which is what tells the database reader to start over.
#include "engine/dxf/tags/DxfDocument.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>

#include "engine/dxf/DxfError.h"
#include "engine/dxf/DxfFile.h"
#include "engine/dxf/tags/DxfFileKind.h"
#include "engine/dxf/tags/DxfHandle.h"
#include "engine/dxf/tags/DxfRecordParts.h"
#include "engine/dxf/tags/DxfScanStream.h"
#include "engine/dxf/tags/DxfScanner.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

constexpr std::size_t kMaxWarningsPerKind = 50;

}  // namespace

int dxfVersionNumber(std::string_view acadver) {
    acadver = trimDxfBlanks(acadver);
    if (acadver.size() != 6 || (acadver.substr(0, 2) != "AC" && acadver.substr(0, 2) != "ac")) return 0;
    std::int64_t n = 0;
    return parseDxfInt(acadver.substr(2), n) ? static_cast<int>(n) : 0;
}

DxfDocument::DxfDocument() = default;
DxfDocument::DxfDocument(DxfDocument&&) noexcept = default;
DxfDocument& DxfDocument::operator=(DxfDocument&&) noexcept = default;
DxfDocument::~DxfDocument() = default;

DxfDocument DxfDocument::readFile(const std::string& path) {
    DxfDocument doc = open(openDrawingText(path), path);
    doc.finishScan();
    return doc;
}

DxfDocument DxfDocument::parse(std::string text, std::string fileName) {
    DxfDocument doc = open(std::move(text), std::move(fileName));
    doc.finishScan();
    return doc;
}

void DxfDocument::warn(std::size_t line, const std::string& text) {
    warnings_.push_back(terminalSafe(line > 0 ? "line " + std::to_string(line) + ": " + text : text));
}

// What the document has applied of the scan, and the batches it holds.
struct DxfDocument::ScanState {
    std::unique_ptr<DxfScanStream> stream;  // made on the first step
    // Oldest first; the last is the one being applied. The ones before it are held for the tags
    // their records kept, until the reader has asked for a record past them.
    std::deque<DxfScanBatch*> held;
    std::size_t nextRecord = 0, nextEvent = 0;  // in held.back()
    std::size_t keptCursor = 0;                 // the next record of held.front() to look at
    bool inside = false;
    std::size_t current = 0;  // index of the section being read
    bool keepTags = true;     // false when nobody reads along
    bool done = false, failed = false;
    std::optional<DxfScanEnd> end;
    std::vector<std::pair<std::size_t, std::size_t>> badHandles;  // section, record
    std::vector<std::pair<std::size_t, std::size_t>> badGroups;
    std::vector<std::pair<std::size_t, std::size_t>> noHandles;
};

DxfDocument DxfDocument::open(std::string text, std::string fileName) {
    return open(std::make_shared<const SourceText>(std::move(text)), std::move(fileName));
}

DxfDocument DxfDocument::open(std::shared_ptr<const SourceText> text, std::string fileName) {
    DxfDocument doc;
    doc.fileName_ = std::move(fileName);
    doc.buffer_ = std::move(text);
    doc.codePage_ = std::make_unique<DxfCodePage>(std::string_view(), false);
    doc.scan_ = std::make_unique<ScanState>();
    return doc;
}

bool DxfDocument::sectionOpen(std::size_t index) const {
    return scan_ && !scan_->done && scan_->inside && scan_->current == index;
}

bool DxfDocument::pristine() const {
    if (!warnings_.empty() || repairs_ > 0 || droppedTrouble_) return false;
    return !scan_ || (scan_->badHandles.empty() && scan_->badGroups.empty() && scan_->noHandles.empty());
}

bool DxfDocument::scanFailed() const { return scan_ && scan_->failed; }

bool DxfDocument::scanMore() {
    if (!scan_ || scan_->failed) return false;
    try {
        while (!scan_->done)
            if (applyNext()) return true;
    } catch (...) {
        scan_->failed = true;
        throw;
    }
    return false;
}

void DxfDocument::startScan() {
    // A file that is plainly something else is named for what it is, not by its first bad tag.
    if (auto what = describeNonDxf(buffer_->view())) throw DxfError(fileName_, 0, *what);
    lineEnding_ = std::string(tokenizer().lineEnding());
    scan_->stream = std::make_unique<DxfScanStream>(buffer_, fileName_, scan_->keepTags);
}

void DxfDocument::takeBatch() {
    ScanState& st = *scan_;
    if (st.held.size() >= DxfScanStream::kHeld) {
        st.stream->giveBack();
        st.held.pop_front();
        st.keptCursor = 0;
    }
    DxfScanBatch& batch = st.stream->take();
    st.held.push_back(&batch);
    st.nextRecord = st.nextEvent = 0;
    for (const std::string_view app : batch.newApps) usedApps_.emplace_back(app);
    maxReferenced_ = std::max(maxReferenced_, batch.maxReferenced);
}

bool DxfDocument::applyNext() {
    ScanState& st = *scan_;
    if (!st.stream) startScan();
    if (st.held.empty()) takeBatch();
    const DxfScanBatch& batch = *st.held.back();
    if (st.nextEvent < batch.events.size() && batch.events[st.nextEvent].before <= st.nextRecord)
        return applyEvent(batch.events[st.nextEvent++]);
    if (st.nextRecord < batch.records.size()) {
        applyRecord(batch.records[st.nextRecord++]);
        return true;
    }
    if (batch.error) std::rethrow_exception(batch.error);
    if (batch.last) {
        st.end = batch.end;
        st.done = true;
        return false;
    }
    takeBatch();
    return false;
}

bool DxfDocument::applyEvent(const DxfScanEvent& e) {
    ScanState& st = *scan_;
    switch (e.kind) {
        case DxfScanEvent::Kind::Warning:
            warn(e.line, e.text);
            return false;
        case DxfScanEvent::Kind::Preamble:
            preambleLength_ = e.length;
            return false;
        case DxfScanEvent::Kind::SectionBegin:
            if (e.section >= sections_.size()) {
                DxfSection s;
                s.name = e.text;
                // No room is reserved for the records ahead: the heap is faulted in ahead of use
                // (HeapWarmer), so room never used would be resident all the same (40 MB more for
                // a drawing of 30 MB, three sections reserved for the shortest records).
                s.line = e.line;
                s.headOffset = e.offset;
                s.headLength = e.length;
                sections_.push_back(std::move(s));
            }
            st.current = std::min(e.section, sections_.size() - 1);
            st.inside = true;
            return true;
        case DxfScanEvent::Kind::SectionEnd: {
            DxfSection& s = sections_[st.current];
            if (s.endLength == 0) {
                s.endOffset = e.offset;
                s.endLength = e.length;
            }
            // Readers of the later sections decode text with the header's code page.
            if (e.header) {
                if (e.version) version_ = std::string(*e.version);
                codePage_ = std::make_unique<DxfCodePage>(e.codePage, versionNumber() >= kDxfR2007);
            }
            st.inside = false;
            return true;
        }
        case DxfScanEvent::Kind::Eof:
            eofOffset_ = e.offset;
            eofLength_ = e.length;
            return true;
    }
    return false;
}

void DxfDocument::applyRecord(const DxfScannedRecord& scanned) {
    ScanState& st = *scan_;
    DxfSection& section = sections_[st.current];
    section.records.push_back(scanned.record);
    const std::pair<std::size_t, std::size_t> at(st.current, section.end() - 1);
    maxHandle_ = std::max(maxHandle_, scanned.record.handle);
    if (scanned.badHandle) st.badHandles.push_back(at);
    if (scanned.noHandle) st.noHandles.push_back(at);
    if (scanned.badGroups) st.badGroups.push_back(at);
}

bool DxfDocument::keptTags(const DxfRecord& record, std::vector<DxfTag>& out) const {
    ScanState& st = *scan_;
    while (!st.held.empty()) {
        const DxfScanBatch& batch = *st.held.front();
        // Of the batch being applied, only the records applied so far can be asked for.
        const std::size_t applied = st.held.size() == 1 ? st.nextRecord : batch.records.size();
        std::size_t& k = st.keptCursor;
        while (k < applied && batch.records[k].record.offset < record.offset) ++k;
        if (k < applied) {
            const DxfScannedRecord& s = batch.records[k];
            if (s.record.offset != record.offset || !s.kept) return false;
            out.assign(batch.tags.begin() + s.tagBegin, batch.tags.begin() + s.tagEnd);
            ++k;
            return true;
        }
        if (st.held.size() == 1) return false;
        st.stream->giveBack();
        st.held.pop_front();
        k = 0;
    }
    return false;
}

void DxfDocument::finishScan() {
    if (!scan_) return;
    if (scan_->failed) throw DxfError(fileName_, 0, "the scan was stopped by an error");
    scan_->keepTags = false;
    if (scan_->stream) scan_->stream->stopKeeping();
    while (scanMore()) {
    }
    endScan();
    scan_.reset();
    repairHandles();
}

void DxfDocument::endScan() {
    ScanState& st = *scan_;
    const DxfScanEnd& end = *st.end;
    if (end.inName) throw DxfError(fileName_, end.sectionLine, "SECTION without a name; the file ends");
    if (end.inside) {
        throw DxfError(fileName_, sections_[st.current].line,
                       "section " + sections_[st.current].name + " has no ENDSEC; the file ends at line " +
                           std::to_string(end.line - 1));
    }
    if (!end.sawSection) throw DxfError(fileName_, 1, "not a DXF file: no SECTION found");
    if (!end.sawEof) warn(end.line - 1, "the file has no 0 EOF; assumed at the end");

    for (const auto& [name, n] : end.repeats) {
        if (n > 1) warn(0, "section " + name + " appeared " + std::to_string(n + 1) + " times in all");
    }
    if (end.version) version_ = std::string(*end.version);
    codePage_ = std::make_unique<DxfCodePage>(end.codePage, versionNumber() >= kDxfR2007);
    if (!codePage_->known()) warn(0, "unknown $DWGCODEPAGE '" + std::string(end.codePage) + "'; read as ANSI_1252");

    // A record read along and dropped cannot be repaired; the reader reads the text again.
    const auto kept = [&](std::pair<std::size_t, std::size_t> at) {
        if (at.second >= sections_[at.first].first) return true;
        droppedTrouble_ = true;
        return false;
    };
    std::size_t regrouped = 0;
    for (auto at : st.badGroups) {
        if (!kept(at)) continue;
        DxfRecord& r = sections_[at.first].at(at.second);
        repairGroups(r, regrouped++ < kMaxWarningsPerKind);
    }
    if (regrouped > kMaxWarningsPerKind)
        warn(0, std::to_string(regrouped - kMaxWarningsPerKind) + " more records with unbalanced 102 groups repaired");

    // Damaged or empty handles get fresh ones after every handle read.
    std::size_t reported = 0;
    for (auto at : st.badHandles) {
        if (!kept(at)) continue;
        DxfRecord& r = sections_[at.first].at(at.second);
        const std::uint64_t h = newHandle();
        const auto t = tags(r);
        const std::size_t k = dxfHeadTag(t, r.type() == "DIMSTYLE" ? 105 : 5, 1);
        if (k < t.size()) {
            r.handle = h;
            replaceValue(r, t[k], formatDxfHandle(h));
        }
        if (reported++ < kMaxWarningsPerKind)
            warn(r.line, std::string(r.type()) + " has an empty or invalid handle; given " + formatDxfHandle(h));
    }
    if (reported > kMaxWarningsPerKind)
        warn(0, std::to_string(reported - kMaxWarningsPerKind) + " more records had invalid handles");

    // From R2000 on every record but a table's ENDTAB has a handle. One given only in memory
    // would be given anew on every read, so it goes into the record's text, after its type.
    if (versionNumber() < kDxfR2000) return;
    std::size_t given = 0;
    for (auto at : st.noHandles) {
        if (!kept(at)) continue;
        DxfRecord& r = sections_[at.first].at(at.second);
        const auto t = tags(r);
        const std::string_view whole = text(r);
        const std::size_t base = r.changed() ? 0 : r.offset;
        const std::size_t split = t.size() > 1 ? t[1].offset - base : whole.size();
        std::string out(whole.substr(0, split));
        r.handle = newHandle();
        DxfTagWriter(out, lineEnding_).string(r.type() == "DIMSTYLE" ? 105 : 5, formatDxfHandle(r.handle));
        out.append(whole.substr(split));
        replace(r, std::move(out));
        if (given++ < kMaxWarningsPerKind) {
            const std::string what = r.type().empty() ? "a record without a type" : std::string(r.type());
            warn(r.line, what + " has no handle; given " + formatDxfHandle(r.handle));
        }
    }
    if (given > kMaxWarningsPerKind)
        warn(0, std::to_string(given - kMaxWarningsPerKind) + " more records without a handle given one");
}
void DxfDocument::repairGroups(DxfRecord& record, bool report) {
    const auto t = tags(record);
    const std::string_view whole = text(record);
    const std::size_t base = record.changed() ? 0 : record.offset;
    std::string out;
    out.reserve(whole.size() + 16);
    DxfTagWriter w(out, lineEnding_);
    bool open = false, headDone = false, ownerSeen = false;
    std::uint64_t owner = 0;
    std::size_t dropped = 0, closed = 0;
    for (std::size_t k = 0; k < t.size(); ++k) {
        const std::size_t from = t[k].offset - base;
        const std::size_t to = k + 1 < t.size() ? t[k + 1].offset - base : whole.size();
        const int code = t[k].code;
        if (k > 0 && !headDone) {
            const std::string_view v = trimDxfBlanks(t[k].value);
            const bool opens = !v.empty() && v.front() == '{';
            if (code == 100 || code == 1001) {
                if (open) {
                    w.string(102, "}");
                    ++closed;
                }
                open = false;
                headDone = true;
            } else if (code == 102 && !open && !opens) {
                ++dropped;
                continue;
            } else if (code == 102 && open && opens) {
                w.string(102, "}");  // the open group ends where the next one starts
                ++closed;
            } else if (code == 102) {
                open = opens || v.empty() || v.back() != '}';
            } else if (code == 330 && !open && !ownerSeen) {
                ownerSeen = true;
                owner = parseDxfHandle(t[k].value).value_or(0);
            }
        }
        out.append(whole.substr(from, to - from));
    }
    if (open) {
        w.string(102, "}");
        ++closed;
    }
    replace(record, std::move(out));
    record.owner = owner;
    if (!report) return;
    std::string what;
    if (dropped > 0)
        what = std::to_string(dropped) + " stray 102 group end" + (dropped > 1 ? "s" : "") + " dropped";
    if (closed > 0) {
        if (!what.empty()) what += ", ";
        what += std::to_string(closed) + " unclosed 102 group" + (closed > 1 ? "s" : "") + " closed";
    }
    const std::string handle = record.handle ? " #" + formatDxfHandle(record.handle) : std::string();
    warn(record.line, std::string(record.type()) + handle + ": " + what);
}

std::uint64_t DxfDocument::newHandle() {
    maxHandle_ = std::max(maxHandle_, maxReferenced_);
    return ++maxHandle_;
}

void DxfDocument::indexHandles() {
    handleIndex_.clear();
    std::size_t count = 0;
    for (const DxfSection& section : sections_) count += section.records.size();
    handleIndex_.reserve(count);
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        for (std::size_t i = sections_[s].first; i < sections_[s].end(); ++i) {
            const DxfRecord& r = sections_[s].at(i);
            if (r.handle != 0) handleIndex_.try_emplace(r.handle, s, i);
        }
    }
}

bool DxfDocument::droppedRecords() const {
    return std::any_of(sections_.begin(), sections_.end(), [](const DxfSection& s) { return s.first > 0; });
}

void DxfDocument::dropRecordsBefore(std::size_t index, std::size_t k) {
    if (!scan_ || index >= sections_.size()) return;
    DxfSection& section = sections_[index];
    if (section.name == "TABLES" || !isModelledDxfSection(section.name)) return;
    if (k > section.end() || k < section.first + dropStep_) return;
    const auto from = section.records.begin();
    const auto to = from + static_cast<std::ptrdiff_t>(k - section.first);
    for (auto r = from; r != to; ++r) {
        if (r->changed()) droppedTrouble_ = true;
        if (r->handle != 0 && !droppedHandles_.insert(r->handle)) droppedTrouble_ = true;
        if (r->owner == 0) continue;
        // Most owners are a record just before (a reference of its attributes) or the last
        // record's owner (a layout's entities): those need no look-up at the end.
        const auto recent = r - std::min<std::ptrdiff_t>(8, r - from);
        const bool near = std::any_of(recent, r, [&](const DxfRecord& o) { return o.handle == r->owner; });
        if (!near && (droppedOwners_.empty() || droppedOwners_.back() != r->owner))
            droppedOwners_.push_back(r->owner);
    }
    section.records.erase(from, to);
    section.first = k;
}

void DxfDocument::repairHandles() {
    // Records dropped while read along are only checked: anything amiss there makes the document
    // not pristine, and whoever dropped them reads the text again.
    if (!droppedHandles_.finish()) droppedTrouble_ = true;
    const auto dropped = [&](std::uint64_t h) { return droppedHandles_.contains(h); };
    std::size_t duplicates = 0;
    handleIndex_.clear();
    std::size_t count = 0;
    for (const DxfSection& section : sections_) count += section.records.size();
    handleIndex_.reserve(count);
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        if (!isModelledDxfSection(sections_[s].name)) continue;
        for (std::size_t i = sections_[s].first; i < sections_[s].end(); ++i) {
            DxfRecord& r = sections_[s].at(i);
            if (r.handle == 0) continue;
            if (dropped(r.handle)) {
                droppedTrouble_ = true;
                continue;
            }
            if (handleIndex_.try_emplace(r.handle, s, i)) continue;
            // Keep the first holder; the later one gets a fresh handle. References to the old
            // handle keep pointing at the first, which is what other readers do too.
            const std::uint64_t old = r.handle;
            const std::uint64_t h = newHandle();
            const auto t = tags(r);
            const std::size_t k = dxfHeadTag(t, r.type() == "DIMSTYLE" ? 105 : 5, 1);
            if (k < t.size()) replaceValue(r, t[k], formatDxfHandle(h));
            r.handle = h;
            handleIndex_.try_emplace(h, s, i);
            if (duplicates++ < kMaxWarningsPerKind) {
                warn(r.line, std::string(r.type()) + " uses handle " + formatDxfHandle(old) +
                                 " a second time; given " + formatDxfHandle(h));
            }
        }
    }
    if (duplicates > kMaxWarningsPerKind)
        warn(0, std::to_string(duplicates - kMaxWarningsPerKind) + " more duplicate handles replaced");
    // Sections kept as text are written back as read, so a handle there is not renumbered: it
    // would change again on every read.
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        if (isModelledDxfSection(sections_[s].name) || sections_[s].name == "HEADER") continue;
        for (std::size_t i = 0; i < sections_[s].records.size(); ++i)
            if (const std::uint64_t h = sections_[s].records[i].handle) handleIndex_.try_emplace(h, s, i);
    }

    if (versionNumber() < kDxfR2000) return;
    repairTableOwners();
    for (const std::uint64_t owner : droppedOwners_)
        if (!handleIndex_.contains(owner) && !dropped(owner)) droppedTrouble_ = true;
    std::size_t dangling = 0;
    for (const DxfSection& s : sections_) {
        for (const DxfRecord& r : s.records) {
            if (r.owner == 0 || handleIndex_.contains(r.owner) || dropped(r.owner)) continue;
            if (dangling++ < kMaxWarningsPerKind) {
                warn(r.line, std::string(r.type()) + " #" + formatDxfHandle(r.handle) + " names owner #" +
                                 formatDxfHandle(r.owner) + ", which does not exist");
            }
        }
    }
    if (dangling > kMaxWarningsPerKind)
        warn(0, std::to_string(dangling - kMaxWarningsPerKind) + " more records with a missing owner");
}

DxfSection* DxfDocument::section(std::string_view name) {
    for (DxfSection& s : sections_)
        if (s.name == name) return &s;
    return nullptr;
}

const DxfSection* DxfDocument::section(std::string_view name) const {
    return const_cast<DxfDocument*>(this)->section(name);
}

std::string_view DxfDocument::text(const DxfRecord& record) const {
    if (record.changed()) return replacements_[record.replacement - 1];
    return buffer_->view().substr(record.offset, record.length);
}

std::vector<DxfTag> DxfDocument::tags(const DxfRecord& record) const {
    std::vector<DxfTag> out;
    tags(record, out);
    return out;
}

void DxfDocument::tags(const DxfRecord& record, std::vector<DxfTag>& out) const {
    if (scan_ && !record.changed() && keptTags(record, out)) return;
    out.clear();
    // A tag takes at least 6 bytes of text ("  0\nX\n"); most take about 12.
    out.reserve(text(record).size() / 10 + 4);
    DxfTag tag;
    if (record.changed()) {
        DxfTokenizer t(text(record), fileName_);
        while (t.next(tag)) {
            tag.line = record.line;
            out.push_back(tag);
        }
        return;
    }
    DxfTokenizer t = tokenizer().slice(record.offset, record.length, record.line);
    while (t.next(tag)) out.push_back(tag);
}

std::string_view DxfDocument::headerValue(std::string_view name) const {
    const DxfSection* h = section("HEADER");
    if (!h) return {};
    for (const DxfRecord& r : h->records) {
        if (r.type() != name) continue;
        const auto t = tags(r);
        return t.size() > 1 ? trimDxfBlanks(t[1].value) : std::string_view();
    }
    return {};
}

const DxfRecord* DxfDocument::findHandle(std::uint64_t handle) const {
    std::size_t section = 0, record = 0;
    if (!handleIndex_.find(handle, section, record) || record < sections_[section].first) return nullptr;
    return &sections_[section].at(record);
}

void DxfDocument::replaceValue(DxfRecord& record, const DxfTag& tag, std::string_view value) {
    const std::string_view whole = text(record);
    const std::size_t at = static_cast<std::size_t>(tag.value.data() - whole.data());
    std::string t(whole.substr(0, at));
    t += value;
    t.append(whole.substr(at + tag.value.size()));
    replace(record, std::move(t));
}

void DxfDocument::repairTableOwners() {
    DxfSection* tables = section("TABLES");
    if (!tables || versionNumber() < kDxfR2000) return;
    // Entries outside any TABLE ... ENDTAB (a lost table head) get a head and an end of their own.
    std::vector<DxfRecord> rebuilt;
    rebuilt.reserve(tables->records.size() + 4);
    bool open = false;
    bool changedLayout = false;
    auto closeTable = [&](bool synthetic) {
        if (!synthetic) return;
        std::string text;
        DxfTagWriter(text, lineEnding_).string(0, "ENDTAB");
        DxfRecord end;
        end.setType("ENDTAB");
        replace(end, std::move(text));
        rebuilt.push_back(std::move(end));
    };
    bool synthetic = false;
    for (DxfRecord& r : tables->records) {
        if (r.type() == "TABLE") {
            if (open) closeTable(synthetic);
            open = true;
            synthetic = false;
        } else if (r.type() == "ENDTAB") {
            if (!open) continue;  // a stray end: dropped
            open = false;
            synthetic = false;
        } else if (!open && !r.type().empty()) {
            DxfRecord head;
            head.setType("TABLE");
            head.handle = newHandle();
            std::string text;
            DxfTagWriter w(text, lineEnding_);
            w.string(0, "TABLE");
            w.string(2, std::string(r.type()));
            w.string(5, formatDxfHandle(head.handle));
            w.string(330, "0");
            w.string(100, "AcDbSymbolTable");
            w.integer(70, 0);
            replace(head, std::move(text));
            warn(r.line, std::string(r.type()) + " entries outside a table; table head #" +
                             formatDxfHandle(head.handle) + " added");
            rebuilt.push_back(std::move(head));
            open = true;
            synthetic = true;
            changedLayout = true;
        }
        rebuilt.push_back(std::move(r));
    }
    if (open) closeTable(synthetic);
    if (rebuilt.size() != tables->records.size()) ++repairs_;
    tables->records = std::move(rebuilt);
    if (changedLayout) indexHandles();

    std::uint64_t head = 0;
    std::size_t fixed = 0;
    for (DxfRecord& r : tables->records) {
        const bool isHead = r.type() == "TABLE";
        if (r.type() == "ENDTAB") {
            head = 0;
            continue;
        }
        if (isHead) head = r.handle;
        const std::uint64_t want = isHead ? 0 : head;
        if (r.owner == want || (!isHead && head == 0)) continue;
        const auto t = tags(r);
        const std::size_t k = dxfHeadTag(t, 330, 1);
        if (k == t.size()) continue;
        if (fixed++ < kMaxWarningsPerKind) {
            warn(r.line, std::string(r.type()) + " #" + formatDxfHandle(r.handle) + " had owner #" +
                             formatDxfHandle(r.owner) + "; set to #" + formatDxfHandle(want));
        }
        replaceValue(r, t[k], formatDxfHandle(want));
        r.owner = want;
    }
}

void DxfDocument::replace(DxfRecord& record, std::string text) {
    ++repairs_;
    replacements_.push_back(std::move(text));
    record.replacement = static_cast<std::uint32_t>(replacements_.size());
}

void DxfDocument::fixHandseed() {
    DxfSection* h = section("HEADER");
    if (!h || versionNumber() < kDxfR2000) return;
    std::string text;
    DxfTagWriter w(text, lineEnding_);
    w.string(9, "$HANDSEED");
    w.string(5, formatDxfHandle(maxHandle_ + 1));
    for (DxfRecord& r : h->records) {
        if (r.type() != "$HANDSEED") continue;
        const auto t = tags(r);
        const auto seed = t.size() > 1 ? parseDxfHandle(t[1].value) : std::nullopt;
        if (!seed || *seed <= maxHandle_) replace(r, std::move(text));
        return;
    }
    DxfRecord r;
    r.setType("$HANDSEED");
    replace(r, std::move(text));
    h->records.push_back(std::move(r));
}

void DxfDocument::registerApplications() {
    if (usedApps_.empty()) return;
    DxfSection* tables = section("TABLES");
    if (!tables) return;
    // Find the APPID table and its entries.
    auto& recs = tables->records;
    std::size_t head = recs.size(), end = recs.size();
    std::vector<std::string> registered;
    for (std::size_t i = 0; i < recs.size(); ++i) {
        if (recs[i].type() == "TABLE" && head == recs.size()) {
            for (const DxfTag& t : tags(recs[i])) {
                if (t.code == 2 && equalsNoCase(trimDxfBlanks(t.value), "APPID")) head = i;
                if (t.code == 2) break;
            }
        } else if (head != recs.size() && end == recs.size()) {
            // A table whose ENDTAB is lost ends where the next one starts.
            if (recs[i].type() == "ENDTAB" || recs[i].type() == "TABLE") end = i;
            else if (recs[i].type() == "APPID") {
                for (const DxfTag& t : tags(recs[i])) {
                    if (t.code == 2) {
                        registered.emplace_back(toUpperAscii(trimDxfBlanks(t.value)));
                        break;
                    }
                }
            }
        }
    }
    if (head == recs.size() || end == recs.size()) {
        warn(0, "the drawing has XDATA but no APPID table; application names are not registered");
        return;
    }
    std::vector<DxfRecord> added;
    for (const std::string& app : usedApps_) {
        if (std::find(registered.begin(), registered.end(), toUpperAscii(app)) != registered.end()) continue;
        registered.push_back(toUpperAscii(app));
        std::string text;
        DxfTagWriter w(text, lineEnding_);
        DxfRecord r;
        r.setType("APPID");
        w.string(0, "APPID");
        if (versionNumber() >= kDxfR2000) {
            r.handle = newHandle();
            r.owner = recs[head].handle;
            w.string(5, formatDxfHandle(r.handle));
            w.string(330, formatDxfHandle(r.owner));
            w.string(100, "AcDbSymbolTableRecord");
            w.string(100, "AcDbRegAppTableRecord");
        }
        w.string(2, app);
        w.integer(70, 0);
        replace(r, std::move(text));
        added.push_back(std::move(r));
        warn(0, "application " + app + " used in XDATA was not registered; APPID added");
    }
    if (added.empty()) return;
    recs.insert(recs.begin() + static_cast<std::ptrdiff_t>(end), added.begin(), added.end());
    indexHandles();
}

std::string DxfDocument::write() {
    if (droppedRecords())
        throw std::logic_error("a document whose records were read along and dropped cannot be written");
    registerApplications();
    fixHandseed();
    std::string out;
    out.reserve(buffer_->size() + 4096);
    const std::string_view buf(buffer_->view());
    out.append(buf.substr(0, preambleLength_));
    for (const DxfSection& s : sections_) {
        DxfTagWriter w(out, lineEnding_);
        if (s.headLength > 0) out.append(buf.substr(s.headOffset, s.headLength));
        else {
            w.string(0, "SECTION");
            w.string(2, s.name);
        }
        for (const DxfRecord& r : s.records) out.append(text(r));
        if (s.endLength > 0) out.append(buf.substr(s.endOffset, s.endLength));
        else w.string(0, "ENDSEC");
    }
    if (eofLength_ > 0) {
        out.append(buf.substr(eofOffset_, eofLength_));
    } else {
        DxfTagWriter w(out, lineEnding_);
        w.string(0, "EOF");
    }
    return out;
}

void DxfDocument::releaseBefore(std::size_t offset) const {
    // In steps, so that the hint costs one call per few megabytes read.
    constexpr std::size_t kStep = 4u << 20;
    if (offset < released_ + kStep) return;
    buffer_->release(released_, offset);
    released_ = offset;
}

void DxfDocument::save(const std::string& path) { writeFileAtomically(path, write()); }

}  // namespace cad
