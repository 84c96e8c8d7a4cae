// DICTIONARY and ACDBDICTIONARYWDFLT: hard owner (280), merge style (281), entries as key (3) and
// handle (350 soft, 360 hard owner, kept as read), and the default entry (340) of the second.
#include "engine/db/Dictionary.h"
#include "engine/db/Database.h"
#include "engine/dxf/tags/DxfTagWriter.h"
#include "engine/dxf/codecs/DxfCodecs.h"

namespace cad {

std::unique_ptr<DbObject> readDictionary(DxfRecordRead& r) {
    auto d = std::make_unique<Dictionary>();
    d->setDxfName(r.type());
    std::string key;
    for (const DxfTag& t : r.parts.body) {
        if (t.code == 100) r.marker(t);
        else if (t.code == 280) d->setHardOwner(r.in.integer(t) != 0);
        else if (t.code == 281) d->setMergeStyle(static_cast<int>(r.in.integer(t)));
        else if (t.code == 3) key = r.in.text(t.value);
        else if (t.code == 350 || t.code == 360)
            d->addEntry(key, r.in.idOf(Handle::parse(t.value).value_or(Handle())), t.code == 360);
        else if (t.code == 340 && r.type() == "ACDBDICTIONARYWDFLT")
            d->setDefaultId(r.in.idOf(Handle::parse(t.value).value_or(Handle())));
        else r.extras.add(t);
    }
    return d;
}

void writeDictionary(DxfWriteServices& out, const DbObject& o, DxfExtraGroups& extras) {
    DxfTagWriter& w = out.tags();
    const auto& d = static_cast<const Dictionary&>(o);
    w.string(100, "AcDbDictionary");
    if (d.isHardOwner()) w.integer(280, 1);
    w.integer(281, d.mergeStyle());
    for (const auto& entry : d.entries()) {
        const DbObject* target = out.database().objectAt(entry.id);
        if (target && target->isErased()) continue;
        w.string(3, out.text(entry.key));
        out.handleTag(entry.hardOwner ? 360 : 350, entry.id);
    }
    out.extrasOf(extras, "AcDbDictionary");
    if (o.dxfName() == "ACDBDICTIONARYWDFLT") {
        w.string(100, "AcDbDictionaryWithDefault");
        out.handleTag(340, d.defaultId());
        out.extrasOf(extras, "AcDbDictionaryWithDefault");
    }
}

}  // namespace cad
