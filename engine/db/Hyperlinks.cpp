#include "engine/db/Hyperlinks.h"

#include "engine/db/Database.h"
#include "engine/db/DbObject.h"

namespace cad {

std::vector<Hyperlink> hyperlinksFromXData(const XDataChain& chain) {
    std::vector<Hyperlink> links;
    int depth = 0;
    int stringsInside = 0;
    for (const XDataItem& item : chain) {
        if (item.isAppName()) continue;
        if (item.isOpen()) {
            ++depth;
            continue;
        }
        if (item.isClose()) {
            if (depth > 0) --depth;
            continue;
        }
        if (item.code() == 1000) {
            if (depth == 0) {
                links.push_back({item.asText(), {}, {}, 0});
                stringsInside = 0;
            } else if (depth == 1 && !links.empty()) {
                if (stringsInside == 0) links.back().description = item.asText();
                else if (stringsInside == 1) links.back().subLocation = item.asText();
                ++stringsInside;
            }
        } else if (item.code() == 1071 && depth >= 2 && !links.empty()) {
            links.back().flags = item.asInt();
        }
    }
    return links;
}

XDataChain hyperlinksToXData(const std::vector<Hyperlink>& links) {
    XDataChain chain{XDataItem::appName(kHyperlinkApp)};
    for (const Hyperlink& link : links) {
        chain.push_back(XDataItem::text(link.url));
        if (link.description.empty() && link.subLocation.empty() && link.flags == 0) continue;
        chain.push_back(XDataItem::open());
        chain.push_back(XDataItem::text(link.description));
        if (!link.subLocation.empty()) chain.push_back(XDataItem::text(link.subLocation));
        chain.push_back(XDataItem::open());
        chain.push_back(XDataItem::int32(link.flags));
        chain.push_back(XDataItem::close());
        chain.push_back(XDataItem::close());
    }
    return chain;
}

std::vector<Hyperlink> getHyperlinks(const DbObject& object) {
    return hyperlinksFromXData(object.xData(kHyperlinkApp));
}

ErrorStatus setHyperlinks(DbObject& object, const std::vector<Hyperlink>& links) {
    Database* db = object.database();
    if (!db) return ErrorStatus::eNotApplicable;
    if (ErrorStatus es = db->registerApplication(kHyperlinkApp); es != ErrorStatus::eOk) return es;
    if (links.empty()) return object.setXData({XDataItem::appName(kHyperlinkApp)});
    return object.setXData(hyperlinksToXData(links));
}

}  // namespace cad
