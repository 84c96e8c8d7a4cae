#pragma once
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/db/Handle.h"
#include "engine/db/RawTags.h"
#include "engine/dxf/tags/DxfTokenizer.h"

namespace cad {

// One record split the way every DXF object is laid out: handle, application groups, owner,
// the subclass body, and extended data.
struct DxfRecordParts {
    std::string_view type;
    Handle handle;
    Handle owner;
    Handle xdict;
    std::vector<Handle> reactors;
    bool hasSubclasses = false;
    RawTagList lead;            // other application groups and stray tags before the body
    // The subclass data (markers included): a stretch of the record's tags, which must outlive
    // it, or for a record without subclasses (R12) the tags of `ownBody`.
    std::span<const DxfTag> body;
    std::vector<DxfTag> ownBody;
    RawTagList xdata;           // from the first 1001 on

    DxfRecordParts() = default;
    // Moving keeps `ownBody`'s storage, and with it `body`; a copy would point into the original.
    DxfRecordParts(DxfRecordParts&&) = default;
    DxfRecordParts& operator=(DxfRecordParts&&) = default;
    DxfRecordParts(const DxfRecordParts&) = delete;
    DxfRecordParts& operator=(const DxfRecordParts&) = delete;
};

DxfRecordParts splitDxfRecord(const std::vector<DxfTag>& tags);
// The same into `p`, reusing its storage.
void splitDxfRecord(const std::vector<DxfTag>& tags, DxfRecordParts& p);
// The body views the tags: they must outlive the parts.
DxfRecordParts splitDxfRecord(std::vector<DxfTag>&& tags) = delete;
void splitDxfRecord(std::vector<DxfTag>&& tags, DxfRecordParts& p) = delete;

inline RawTag rawTag(const DxfTag& t) { return RawTag{t.code, std::string(t.value)}; }

// Where a record's own handle or owner tag of `code` stands, the place every reader looks: the
// first one before any 100 or 1001, outside 102 groups (sound ones). tags.size() when none.
template <class Tags>
std::size_t dxfHeadTag(const Tags& tags, int code, std::size_t from) {
    bool inGroup = false;
    for (std::size_t k = from; k < tags.size(); ++k) {
        if (tags[k].code == 100 || tags[k].code == 1001) break;
        if (tags[k].code == 102) {
            const std::string_view v = trimDxfBlanks(tags[k].value);
            inGroup = inGroup ? v.empty() || v.back() != '}' : !v.empty() && v.front() == '{';
        } else if (tags[k].code == code && !inGroup) {
            return k;
        }
    }
    return tags.size();
}

// Marks, inside a list of extra tags, the modelled tag the following extras came after:
// "CODE:N" for the N-th tag of that code in the subclass, "100" for right after the marker.
// No group code read from a file has this value.
constexpr int kDxfAnchorCode = -2147483647 - 1;

// Collects the tags a reader does not model, remembering the subclass each stood in and, when
// given the tags the reader walks, the modelled tag each followed, so that a writer can put them
// back where they were.
class DxfExtraTags {
public:
    explicit DxfExtraTags(RawTagList& out, std::span<const DxfTag> body = {}) : out_(out), body_(body) {}
    // A subclass marker. Markers the reader knows are only kept when extras follow them.
    void marker(std::string_view name, bool known) {
        pending_ = name;
        flushed_ = false;
        if (!known) flush();
    }
    void add(const DxfTag& tag) {
        flush();
        anchor(tag);
        out_.push_back(rawTag(tag));
    }
    void add(RawTag tag) {
        flush();
        out_.push_back(std::move(tag));
    }

private:
    void flush() {
        if (flushed_ || pending_.empty()) return;
        out_.push_back(RawTag{100, std::string(pending_)});
        flushed_ = true;
        written_.clear();
    }
    void anchor(const DxfTag& tag);

    RawTagList& out_;
    std::string_view pending_;
    bool flushed_ = true;
    std::span<const DxfTag> body_;
    std::size_t scanned_ = 0;
    std::vector<std::pair<int, int>> counts_;  // code, tags of it so far in the subclass
    std::string current_, written_;
};

// Extra tags grouped by the subclass they were read in ("" = before any marker).
class DxfExtraGroups {
public:
    explicit DxfExtraGroups(const RawTagList& extras);
    // The extras of a subclass not placed yet; marks them all as written.
    RawTagList take(std::string_view subclass);
    bool has(std::string_view subclass) const;
    // Groups not taken yet, in read order, with their markers and the tags not placed yet.
    std::vector<std::pair<std::string, RawTagList>> rest();
    // Told every tag a writer makes, in order: gives the extras read right after the same tag
    // (same code, same count within the subclass), to be written next.
    void placeAfter(int code, std::string_view value, RawTagList& out);

private:
    struct Group {
        std::string marker;
        RawTagList tags;
        std::vector<std::string> anchors;  // per tag; empty when it has none
        std::vector<bool> placed;
        bool taken = false;
    };
    void placeAnchored(Group& group, const std::string& anchor, RawTagList& out);
    std::vector<Group> groups_;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t active_ = kNone;  // the group of the subclass being written
    std::vector<std::pair<int, int>> counts_;
};

}  // namespace cad
