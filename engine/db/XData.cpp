#include "engine/db/XData.h"

#include <fmt/format.h>

#include "engine/db/SymbolName.h"
#include "engine/db/TagValue.h"

namespace cad {

XDataItem::Kind XDataItem::kindOfCode(int code) {
    if (code == 1005) return Kind::Handle;
    if (code >= 1010 && code <= 1019) return Kind::Point;
    if (code >= 1040 && code <= 1059) return Kind::Real;
    if (code >= 1060 && code <= 1071) return Kind::Integer;
    return Kind::Text;
}

XDataItem::Kind XDataItem::kind() const {
    switch (value_.index()) {
        case 1: return Kind::Real;
        case 2: return Kind::Integer;
        case 3: return Kind::Point;
        case 4: return Kind::Handle;
        default: return Kind::Text;
    }
}

const std::string& XDataItem::asText() const {
    static const std::string kEmpty;
    const auto* s = std::get_if<std::string>(&value_);
    return s ? *s : kEmpty;
}

double XDataItem::asReal() const {
    if (const auto* d = std::get_if<double>(&value_)) return *d;
    if (const auto* i = std::get_if<std::int32_t>(&value_)) return *i;
    return 0.0;
}

std::int32_t XDataItem::asInt() const {
    const auto* i = std::get_if<std::int32_t>(&value_);
    return i ? *i : 0;
}

Point3d XDataItem::asPoint() const {
    const auto* p = std::get_if<Point3d>(&value_);
    return p ? *p : Point3d{};
}

cad::Handle XDataItem::asHandle() const {
    const auto* h = std::get_if<cad::Handle>(&value_);
    return h ? *h : cad::Handle{};
}

bool xdataFromTags(const RawTagList& tags, XDataChain& out, std::string* error) {
    auto fail = [&](std::size_t i, const std::string& why) {
        if (error)
            *error = fmt::format("extended data tag {} (group {} \"{}\"): {}", i + 1, tags[i].code,
                                 tags[i].value, why);
        return false;
    };
    XDataChain chain;
    chain.reserve(tags.size());
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const RawTag& tag = tags[i];
        if (tag.code < 1000 || tag.code > 1071) return fail(i, "not an extended data group code");
        switch (XDataItem::kindOfCode(tag.code)) {
            case XDataItem::Kind::Text:
                chain.push_back(XDataItem::text(tag.value, tag.code));
                break;
            case XDataItem::Kind::Handle: {
                auto h = Handle::parse(tag.value);
                if (!h) return fail(i, "not a handle");
                chain.push_back(XDataItem::handle(*h));
                break;
            }
            case XDataItem::Kind::Real: {
                auto v = parseDouble(tag.value);
                if (!v) return fail(i, "not a number");
                chain.push_back(XDataItem::real(*v, tag.code));
                break;
            }
            case XDataItem::Kind::Integer: {
                auto v = parseInt(tag.value);
                if (!v) return fail(i, "not an integer");
                chain.push_back(XDataItem::integer(static_cast<std::int32_t>(*v), tag.code));
                break;
            }
            case XDataItem::Kind::Point: {
                auto x = parseDouble(tag.value);
                if (!x) return fail(i, "not a number");
                if (i + 1 >= tags.size() || tags[i + 1].code != tag.code + 10)
                    return fail(i, "point without its Y coordinate");
                auto y = parseDouble(tags[i + 1].value);
                if (!y) return fail(i + 1, "not a number");
                double z = 0.0;
                std::size_t used = 2;
                if (i + 2 < tags.size() && tags[i + 2].code == tag.code + 20) {
                    auto zv = parseDouble(tags[i + 2].value);
                    if (!zv) return fail(i + 2, "not a number");
                    z = *zv;
                    used = 3;
                }
                chain.push_back(XDataItem::point({*x, *y, z}, tag.code));
                i += used - 1;
                break;
            }
        }
    }
    out = std::move(chain);
    return true;
}

RawTagList xdataToTags(const XDataChain& chain) {
    RawTagList tags;
    tags.reserve(chain.size());
    for (const XDataItem& item : chain) {
        switch (item.kind()) {
            case XDataItem::Kind::Text: tags.push_back({item.code(), item.asText()}); break;
            case XDataItem::Kind::Handle: tags.push_back({item.code(), item.asHandle().toString()}); break;
            case XDataItem::Kind::Real: tags.push_back({item.code(), formatDouble(item.asReal())}); break;
            case XDataItem::Kind::Integer: tags.push_back({item.code(), formatInt(item.asInt())}); break;
            case XDataItem::Kind::Point: {
                Point3d p = item.asPoint();
                tags.push_back({item.code(), formatDouble(p.x)});
                tags.push_back({item.code() + 10, formatDouble(p.y)});
                tags.push_back({item.code() + 20, formatDouble(p.z)});
                break;
            }
        }
    }
    return tags;
}

XDataChain xdataOfApp(const XDataChain& chain, std::string_view app) {
    XDataChain part;
    bool inside = false;
    for (const XDataItem& item : chain) {
        if (item.isAppName()) {
            if (inside) break;
            inside = symbolNamesEqual(item.asText(), app);
        }
        if (inside) part.push_back(item);
    }
    return part;
}

std::vector<std::string> xdataAppNames(const XDataChain& chain) {
    std::vector<std::string> names;
    for (const XDataItem& item : chain)
        if (item.isAppName()) names.push_back(item.asText());
    return names;
}

}  // namespace cad
