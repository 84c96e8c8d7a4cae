// SORTENTSTABLE: the block it orders (the first 330 of the body), then pairs of entity (331) and
// sort key (5; a key, not the object's handle).
#include "engine/db/SortentsTable.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readSortentsTable(DxfRecordRead& r) {
    auto s = std::make_unique<SortentsTable>();
    std::vector<SortentsTable::Entry> entries;
    bool blockSeen = false;
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100) {
            r.marker(t);
        } else if (t.code == 330 && !blockSeen) {
            blockSeen = true;
            s->setBlockId(r.in.idOf(Handle::parse(t.value).value_or(Handle())));
        } else if (t.code == 331) {
            entries.push_back({r.in.idOf(Handle::parse(t.value).value_or(Handle())), Handle()});
        } else if (t.code == 5 && !entries.empty()) {
            entries.back().sortKey = Handle::parse(t.value).value_or(Handle());
        } else {
            r.extras.add(t);
        }
    }
    s->setEntries(std::move(entries));
    return s;
}

void writeSortentsTable(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& s = static_cast<const SortentsTable&>(o);
    w.string(100, "AcDbSortentsTable");
    out.handleTag(330, s.blockId());
    for (const auto& entry : s.entries()) {
        const DbObject* e = out.database().objectAt(entry.entity);
        if (!e || e->isErased()) continue;
        out.handleTag(331, entry.entity);
        w.string(5, entry.sortKey.toString());
    }
    out.extrasOf(extras, "AcDbSortentsTable");
}

}  // namespace cad
