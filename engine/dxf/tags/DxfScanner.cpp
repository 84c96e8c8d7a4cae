// Invariants: a batch ends only between records, so a record's tags are all in one batch; the tag
// that opens the next record is held back, with the tokenizer standing right after it, and read
// first into the next batch. Events come before the records that follow them in the file.
#include "engine/dxf/tags/DxfScanner.h"

#include <algorithm>

#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfGroupCode.h"
#include "engine/dxf/tags/DxfHandle.h"
#include "engine/text/AsciiText.h"

namespace cad {

bool isModelledDxfSection(std::string_view name) {
    return name == "TABLES" || name == "BLOCKS" || name == "ENTITIES" || name == "OBJECTS";
}

void DxfScanBatch::clear() {
    tags.clear();
    records.clear();
    events.clear();
    newApps.clear();
    maxReferenced = 0;
    last = false;
    end.reset();
    error = nullptr;
}

DxfScanner::DxfScanner(std::shared_ptr<const SourceText> text, std::string fileName)
    : text_(std::move(text)), fileName_(std::move(fileName)), tok_(text_->view(), fileName_) {}

void DxfScanner::fill(DxfScanBatch& batch, bool keep) {
    try {
        batch.clear();
        if (batch.tags.capacity() < kBatchTags) batch.tags.reserve(kBatchTags + kBatchTags / 4);
        while (!done_) {
            DxfTag tag;
            if (pending_) {
                tag = *pending_;
                pending_.reset();
            } else if (!tok_.next(tag)) {
                break;
            }
            if (!step(tag, batch, keep)) return;
        }
        finish(batch);
    } catch (...) {
        batch.error = std::current_exception();
        batch.last = true;
        done_ = true;
    }
}

void DxfScanner::warn(DxfScanBatch& batch, std::size_t line, std::string text) {
    DxfScanEvent e;
    e.kind = DxfScanEvent::Kind::Warning;
    e.line = line;
    e.text = std::move(text);
    event(batch, std::move(e));
}

void DxfScanner::event(DxfScanBatch& batch, DxfScanEvent e) {
    e.before = batch.records.size();
    batch.events.push_back(std::move(e));
}

void DxfScanner::finish(DxfScanBatch& batch) {
    done_ = true;
    batch.last = true;
    DxfScanEnd& end = batch.end.emplace();
    end.inName = state_ == State::Name;
    end.inside = state_ == State::Inside;
    end.sectionLine = sectionLine_;
    end.sawSection = sawSection_;
    end.sawEof = sawEof_;
    end.line = tok_.line();
    end.repeats = repeats_;
    end.version = version_;
    end.codePage = codePage_;
}

void DxfScanner::openRecord(const DxfTag& tag, std::string_view type, DxfScanBatch& batch, bool keep) {
    record_ = DxfScannedRecord{};
    record_.record.setType(type);
    record_.record.offset = tag.offset;
    record_.record.line = tag.line;
    record_.tagBegin = static_cast<std::uint32_t>(batch.tags.size());
    ++sections_[current_].records;
    inRecord_ = true;
    keeping_ = keep && (header_ || modelled_);
    handleSeen_ = ownerSeen_ = false;
    handleCode_ = type == "DIMSTYLE" ? 105 : 5;
    groupOpen_ = headDone_ = groupsBad_ = false;
}

void DxfScanner::closeRecord(std::size_t end, DxfScanBatch& batch) {
    if (!inRecord_) return;
    DxfRecord& r = record_.record;
    if (end - r.offset > UINT32_MAX) throw DxfError(fileName_, r.line, "a record longer than 4 GB");
    r.length = static_cast<std::uint32_t>(end - r.offset);
    inRecord_ = false;
    record_.kept = keeping_;
    record_.tagEnd = keeping_ ? static_cast<std::uint32_t>(batch.tags.size()) : record_.tagBegin;
    // The head ends with the record at the latest.
    groupsBad_ = groupsBad_ || groupOpen_;
    if (modelled_) {
        // A section's lead tags count as having their handle; a `0` with an empty type needs one.
        const bool tableEnd = r.type() == "ENDTAB" && sections_[current_].name == "TABLES";
        record_.noHandle = !handleSeen_ && !tableEnd;
        record_.badGroups = !r.type().empty() && groupsBad_;
    }
    batch.records.push_back(std::move(record_));
}

bool DxfScanner::step(const DxfTag& tag, DxfScanBatch& batch, bool keep) {
    if (state_ == State::Outside) {
        const std::string_view v = trimDxfBlanks(tag.value);
        if (tag.code == 999) {
            if (!sawSection_) {
                DxfScanEvent e;
                e.kind = DxfScanEvent::Kind::Preamble;
                e.length = tok_.offset();
                event(batch, std::move(e));
            } else {
                warn(batch, tag.line, "comment between sections dropped");
            }
            return true;
        }
        if (tag.code == 0 && equalsNoCase(v, "SECTION")) {
            if (strayFrom_) {
                warn(batch, strayFrom_, "tags outside any section skipped up to line " + std::to_string(tag.line - 1));
                strayFrom_ = 0;
            }
            state_ = State::Name;
            sectionStart_ = tag.offset;
            sectionLine_ = tag.line;
            sawSection_ = true;
            return true;
        }
        if (tag.code == 0 && equalsNoCase(v, "EOF")) {
            DxfScanEvent e;
            e.kind = DxfScanEvent::Kind::Eof;
            e.offset = tag.offset;
            e.length = tok_.offset() - tag.offset;
            event(batch, std::move(e));
            sawEof_ = true;
            if (trimDxfBlanks(text_->view().substr(tok_.offset())).find_first_not_of("\r\n\t ") != std::string::npos)
                warn(batch, tok_.line(), "data after 0 EOF ignored");
            done_ = true;
            return true;
        }
        // Stray tags between sections (seen in damaged files): skipped up to the next
        // SECTION or EOF, and reported.
        if (!strayFrom_) strayFrom_ = tag.line;
        return true;
    }
    if (strayFrom_) {
        warn(batch, strayFrom_, "tags outside any section skipped up to line " + std::to_string(tag.line - 1));
        strayFrom_ = 0;
    }
    if (state_ == State::Name) {
        if (tag.code != 2) tok_.fail(tag.line, "SECTION without a name (group code 2)");
        std::string name = toUpperAscii(trimDxfBlanks(tag.value));
        const auto it = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) { return s.name == name; });
        if (it != sections_.end()) {
            if (repeats_[name]++ == 0)
                warn(batch, sectionLine_, "section " + name + " appears again; its records are joined to the first one");
            current_ = static_cast<std::size_t>(it - sections_.begin());
        } else {
            sections_.push_back({name, sectionLine_, 0});
            current_ = sections_.size() - 1;
        }
        DxfScanEvent e;
        e.kind = DxfScanEvent::Kind::SectionBegin;
        e.line = sectionLine_;
        e.offset = sectionStart_;
        e.length = tok_.offset() - sectionStart_;
        e.section = current_;
        e.text = name;
        event(batch, std::move(e));
        header_ = name == "HEADER";
        modelled_ = isModelledDxfSection(name);
        state_ = State::Inside;
        return true;
    }
    // Inside a section.
    if (tag.code == 0 || (header_ && tag.code == 9)) {
        closeRecord(tag.offset, batch);
        if (batch.tags.size() >= kBatchTags || batch.records.size() >= kBatchRecords) {
            pending_ = tag;
            return false;
        }
        const std::string_view v = trimDxfBlanks(tag.value);
        if (tag.code == 0 && equalsNoCase(v, "ENDSEC")) {
            DxfScanEvent e;
            e.kind = DxfScanEvent::Kind::SectionEnd;
            e.offset = tag.offset;
            e.length = tok_.offset() - tag.offset;
            e.header = header_;
            e.version = version_;
            e.codePage = codePage_;
            event(batch, std::move(e));
            state_ = State::Outside;
            droppingLead_ = false;
            return true;
        }
        if (tag.code == 0 && (equalsNoCase(v, "SECTION") || equalsNoCase(v, "EOF"))) {
            tok_.fail(tag.line, "section " + sections_[current_].name + " from line " +
                                    std::to_string(sections_[current_].line) + " has no ENDSEC");
        }
        droppingLead_ = false;
        openRecord(tag, v, batch, keep);
        headerVar_ = tag.code == 9 ? v : std::string_view();
        if (keeping_) batch.tags.push_back(tag);
        return true;
    }
    if (!inRecord_ && sections_[current_].records > 0) {
        // Lead tags of a repeated section cannot join the first one: dropped.
        if (!droppingLead_) {
            warn(batch, tag.line, "tags at the start of a repeated " + sections_[current_].name + " section dropped");
            droppingLead_ = true;
        }
        return true;
    }
    if (!inRecord_) {
        // Sections such as THUMBNAILIMAGE and ACDSDATA open with tags of their own: kept as a
        // record without a type.
        openRecord(tag, std::string_view(), batch, keep);
        handleSeen_ = true;
        headerVar_ = std::string_view();
    }
    if (keeping_) batch.tags.push_back(tag);
    // Counted as they are read, since records read along may be given up before a handle is made.
    if (isDxfPointerCode(tag.code)) {
        // Values this high are noise, and counting on from them would wrap around.
        const auto h = parseDxfHandle(tag.value);
        if (h && *h < (std::uint64_t{1} << 62)) batch.maxReferenced = std::max(batch.maxReferenced, *h);
    }
    if (header_) {
        if (headerVar_ == "$ACADVER" && tag.code == 1) version_ = trimDxfBlanks(tag.value);
        if (headerVar_ == "$DWGCODEPAGE" && tag.code == 3) codePage_ = trimDxfBlanks(tag.value);
        return true;
    }
    if (!headDone_) {
        if (tag.code == 100 || tag.code == 1001) {
            groupsBad_ = groupsBad_ || groupOpen_;
            groupOpen_ = false;
            headDone_ = true;
        } else if (tag.code == 102) {
            const std::string_view v = trimDxfBlanks(tag.value);
            const bool opens = !v.empty() && v.front() == '{';
            if (!groupOpen_) {
                if (opens) groupOpen_ = true;
                else groupsBad_ = true;
            } else if (opens) {
                groupsBad_ = true;
            } else if (!v.empty() && v.back() == '}') {
                groupOpen_ = false;
            }
        }
    }
    DxfRecord& r = record_.record;
    if (tag.code == 330 && !headDone_ && !groupOpen_ && !ownerSeen_) {
        ownerSeen_ = true;
        r.owner = parseDxfHandle(tag.value).value_or(0);
    } else if (tag.code == 1001) {
        const std::string_view app = trimDxfBlanks(tag.value);
        if (std::find(apps_.begin(), apps_.end(), app) == apps_.end()) {
            apps_.push_back(app);
            batch.newApps.push_back(app);
        }
    }
    if (tag.code == handleCode_ && !headDone_ && !groupOpen_ && !handleSeen_) {
        handleSeen_ = true;
        const auto h = parseDxfHandle(tag.value);
        if (h && *h != 0) r.handle = *h;
        else if (modelled_) record_.badHandle = true;
    }
    return true;
}

}  // namespace cad
