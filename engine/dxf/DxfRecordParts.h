#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/db/Handle.h"
#include "engine/db/RawTags.h"
#include "engine/dxf/DxfTokenizer.h"

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
    std::vector<DxfTag> body;   // the subclass data (markers included)
    RawTagList xdata;           // from the first 1001 on
};

DxfRecordParts splitDxfRecord(const std::vector<DxfTag>& tags);
// The same into `p`, reusing its storage.
void splitDxfRecord(const std::vector<DxfTag>& tags, DxfRecordParts& p);

inline RawTag rawTag(const DxfTag& t) { return RawTag{t.code, std::string(t.value)}; }

// Collects the tags a reader does not model, remembering the subclass each stood in, so that a
// writer can put them back into the same subclass.
class DxfExtraTags {
public:
    explicit DxfExtraTags(RawTagList& out) : out_(out) {}
    // A subclass marker. Markers the reader knows are only kept when extras follow them.
    void marker(std::string_view name, bool known) {
        pending_ = name;
        flushed_ = false;
        if (!known) flush();
    }
    void add(const DxfTag& tag) {
        flush();
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
    }
    RawTagList& out_;
    std::string_view pending_;
    bool flushed_ = true;
};

// Extra tags grouped by the subclass they were read in ("" = before any marker).
class DxfExtraGroups {
public:
    explicit DxfExtraGroups(const RawTagList& extras);
    // The extras of a subclass; marks it as written.
    const RawTagList* take(std::string_view subclass);
    bool has(std::string_view subclass) const;
    // Groups not taken yet, in read order, with their markers.
    std::vector<std::pair<std::string, const RawTagList*>> rest() const;

private:
    struct Group {
        std::string marker;
        RawTagList tags;
        bool taken = false;
    };
    std::vector<Group> groups_;
};

}  // namespace cad
