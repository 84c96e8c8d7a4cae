// Splits a record into head, body and extended data, and keeps the extras a codec does not model
// with the place they stood. Invariant: the split never drops a tag; what is not taken by a field
// comes back, in its subclass and after the tag it followed.
#include "engine/dxf/tags/DxfRecordParts.h"

namespace cad {

DxfRecordParts splitDxfRecord(const std::vector<DxfTag>& tags) {
    DxfRecordParts p;
    splitDxfRecord(tags, p);
    return p;
}

void splitDxfRecord(const std::vector<DxfTag>& tags, DxfRecordParts& p) {
    p.type = {};
    p.handle = p.owner = p.xdict = Handle();
    p.reactors.clear();
    p.hasSubclasses = false;
    p.lead.clear();
    p.body = {};
    p.ownBody.clear();
    p.xdata.clear();
    if (tags.empty()) return;
    p.type = trimDxfBlanks(tags[0].value);
    const int handleCode = p.type == "DIMSTYLE" ? 105 : 5;
    // A 100 inside the extended data is a value there, not a subclass marker.
    for (const DxfTag& t : tags) {
        if (t.code == 1001) break;
        if (t.code == 100) {
            p.hasSubclasses = true;
            break;
        }
    }
    std::size_t i = 1;
    bool handleSeen = false, ownerSeen = false;
    // The part before the first subclass marker (all of it for R12 records, which have none).
    while (i < tags.size() && tags[i].code != 100 && tags[i].code != 1001) {
        const DxfTag& t = tags[i];
        if (t.code == handleCode && !handleSeen) {
            handleSeen = true;
            p.handle = Handle::parse(t.value).value_or(Handle());
            ++i;
            continue;
        }
        // Only a `{` opens a group; any other 102 here is a stray tag, as the document takes it,
        // not a group that would swallow the handle and owner after it.
        if (t.code == 102 && trimDxfBlanks(t.value).starts_with('{')) {
            const std::string_view v = trimDxfBlanks(t.value);
            std::size_t end = i + 1;
            while (end < tags.size() && !(tags[end].code == 102 && trimDxfBlanks(tags[end].value).ends_with("}")))
                ++end;
            if (v == "{ACAD_XDICTIONARY" || v == "{ACAD_REACTORS") {
                for (std::size_t k = i + 1; k < end && k < tags.size(); ++k) {
                    // A group tag inside these groups (damaged files) would, written outside
                    // them, open or end a group of its own on the next read.
                    if (tags[k].code == 102) continue;
                    const auto h = Handle::parse(tags[k].value).value_or(Handle());
                    if (v == "{ACAD_XDICTIONARY" && tags[k].code == 360) p.xdict = h;
                    else if (tags[k].code == 330 && !h.isNull()) p.reactors.push_back(h);
                    else p.lead.push_back(rawTag(tags[k]));
                }
            } else {
                for (std::size_t k = i; k <= end && k < tags.size(); ++k) p.lead.push_back(rawTag(tags[k]));
            }
            i = end + 1;
            continue;
        }
        if (t.code == 330 && !ownerSeen) {
            ownerSeen = true;
            p.owner = Handle::parse(t.value).value_or(Handle());
            ++i;
            continue;
        }
        if (p.hasSubclasses) p.lead.push_back(rawTag(t));
        else p.ownBody.push_back(t);
        ++i;
    }
    const std::size_t bodyFrom = i;
    while (i < tags.size() && tags[i].code != 1001) ++i;
    if (p.hasSubclasses) {
        p.body = std::span<const DxfTag>(tags).subspan(bodyFrom, i - bodyFrom);
    } else {
        p.ownBody.insert(p.ownBody.end(), tags.begin() + static_cast<std::ptrdiff_t>(bodyFrom),
                         tags.begin() + static_cast<std::ptrdiff_t>(i));
        p.body = p.ownBody;
    }
    for (; i < tags.size(); ++i) p.xdata.push_back(rawTag(tags[i]));
}

namespace {

int& countOf(std::vector<std::pair<int, int>>& counts, int code) {
    for (auto& [c, n] : counts)
        if (c == code) return n;
    counts.emplace_back(code, 0);
    return counts.back().second;
}

}  // namespace

void DxfExtraTags::anchor(const DxfTag& tag) {
    if (body_.empty()) return;
    const DxfTag* first = body_.data();
    if (&tag < first || &tag >= first + body_.size()) return;
    const auto index = static_cast<std::size_t>(&tag - first);
    if (index < scanned_) return;
    // Extras come in body order, so everything between the last one and this one was modelled.
    for (; scanned_ < index; ++scanned_) {
        const DxfTag& t = body_[scanned_];
        if (t.code == 100) {
            counts_.clear();
            current_ = "100";
        } else {
            current_ = std::to_string(t.code) + ":" + std::to_string(++countOf(counts_, t.code));
        }
    }
    scanned_ = index + 1;
    if (!current_.empty() && current_ != written_) {
        out_.push_back(RawTag{kDxfAnchorCode, current_});
        written_ = current_;
    }
}

DxfExtraGroups::DxfExtraGroups(const RawTagList& extras) {
    std::string anchor;
    for (const RawTag& t : extras) {
        // Extended data kept as read is last and may hold 100s of its own: they stay in it.
        const bool inXData = !groups_.empty() && groups_.back().marker == "*XDATA";
        if ((t.code == 100 && !inXData) || groups_.empty()) {
            groups_.push_back(Group{t.code == 100 ? t.value : std::string(), {}, {}, {}, false});
            anchor.clear();
            if (t.code == 100) continue;
        }
        if (t.code == kDxfAnchorCode) {
            anchor = t.value;
            continue;
        }
        Group& g = groups_.back();
        g.tags.push_back(t);
        g.anchors.push_back(anchor);
        g.placed.push_back(false);
    }
    if (!groups_.empty() && groups_.front().marker.empty()) active_ = 0;
}

RawTagList DxfExtraGroups::take(std::string_view subclass) {
    RawTagList out;
    for (Group& g : groups_) {
        if (!g.taken && g.marker == subclass) {
            g.taken = true;
            for (std::size_t i = 0; i < g.tags.size(); ++i) {
                if (g.placed[i]) continue;
                g.placed[i] = true;
                out.push_back(g.tags[i]);
            }
            break;
        }
    }
    return out;
}

bool DxfExtraGroups::has(std::string_view subclass) const {
    for (const Group& g : groups_)
        if (g.marker == subclass) return true;
    return false;
}

std::vector<std::pair<std::string, RawTagList>> DxfExtraGroups::rest() {
    std::vector<std::pair<std::string, RawTagList>> out;
    for (Group& g : groups_) {
        if (g.taken) continue;
        RawTagList tags;
        for (std::size_t i = 0; i < g.tags.size(); ++i)
            if (!g.placed[i]) tags.push_back(g.tags[i]);
        out.emplace_back(g.marker, std::move(tags));
    }
    return out;
}

void DxfExtraGroups::placeAnchored(Group& group, const std::string& anchor, RawTagList& out) {
    for (std::size_t i = 0; i < group.tags.size(); ++i) {
        if (group.placed[i] || group.anchors[i] != anchor) continue;
        group.placed[i] = true;
        out.push_back(group.tags[i]);
    }
}

void DxfExtraGroups::placeAfter(int code, std::string_view value, RawTagList& out) {
    if (code == 100) {
        counts_.clear();
        active_ = kNone;
        for (std::size_t i = 0; i < groups_.size(); ++i) {
            if (!groups_[i].taken && groups_[i].marker == value) {
                active_ = i;
                break;
            }
        }
        if (active_ != kNone) placeAnchored(groups_[active_], "100", out);
        return;
    }
    if (active_ == kNone || groups_[active_].taken) return;
    placeAnchored(groups_[active_], std::to_string(code) + ":" + std::to_string(++countOf(counts_, code)), out);
}

}  // namespace cad
