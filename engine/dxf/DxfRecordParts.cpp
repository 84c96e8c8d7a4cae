#include "engine/dxf/DxfRecordParts.h"

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
    p.body.clear();
    p.xdata.clear();
    if (tags.empty()) return;
    p.type = trimDxfBlanks(tags[0].value);
    p.body.reserve(tags.size());
    const int handleCode = p.type == "DIMSTYLE" ? 105 : 5;
    for (const DxfTag& t : tags) {
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
        if (t.code == 102) {
            const std::string_view v = trimDxfBlanks(t.value);
            std::size_t end = i + 1;
            while (end < tags.size() && !(tags[end].code == 102 && trimDxfBlanks(tags[end].value).ends_with("}")))
                ++end;
            if (v == "{ACAD_XDICTIONARY" || v == "{ACAD_REACTORS") {
                for (std::size_t k = i + 1; k < end && k < tags.size(); ++k) {
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
        else p.body.push_back(t);
        ++i;
    }
    for (; i < tags.size(); ++i) {
        if (tags[i].code == 1001) break;
        p.body.push_back(tags[i]);
    }
    for (; i < tags.size(); ++i) p.xdata.push_back(rawTag(tags[i]));
}

DxfExtraGroups::DxfExtraGroups(const RawTagList& extras) {
    for (const RawTag& t : extras) {
        if (t.code == 100 || groups_.empty()) {
            groups_.push_back(Group{t.code == 100 ? t.value : std::string(), {}, false});
            if (t.code == 100) continue;
        }
        groups_.back().tags.push_back(t);
    }
}

const RawTagList* DxfExtraGroups::take(std::string_view subclass) {
    for (Group& g : groups_) {
        if (!g.taken && g.marker == subclass) {
            g.taken = true;
            return &g.tags;
        }
    }
    return nullptr;
}

bool DxfExtraGroups::has(std::string_view subclass) const {
    for (const Group& g : groups_)
        if (g.marker == subclass) return true;
    return false;
}

std::vector<std::pair<std::string, const RawTagList*>> DxfExtraGroups::rest() const {
    std::vector<std::pair<std::string, const RawTagList*>> out;
    for (const Group& g : groups_)
        if (!g.taken) out.emplace_back(g.marker, &g.tags);
    return out;
}

}  // namespace cad
