#include "engine/db/XData.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstring>

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

namespace {
template <class T>
void putRaw(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}
template <class T>
T getRaw(std::string_view& in) {
    T value{};
    if (in.size() < sizeof value) {
        in = {};
        return value;
    }
    std::memcpy(&value, in.data(), sizeof value);
    in.remove_prefix(sizeof value);
    return value;
}
}  // namespace

std::string packXData(const XDataChain& chain) {
    std::string out;
    for (const XDataItem& item : chain) {
        out.push_back(static_cast<char>(item.kind()));
        putRaw(out, static_cast<std::int16_t>(item.code()));
        switch (item.kind()) {
            case XDataItem::Kind::Text: {
                const std::string& text = item.asText();
                // Length as a base-128 varint: one byte for every usual item.
                for (std::size_t n = text.size();; n >>= 7) {
                    if (n < 0x80) {
                        out.push_back(static_cast<char>(n));
                        break;
                    }
                    out.push_back(static_cast<char>((n & 0x7F) | 0x80));
                }
                out.append(text);
                break;
            }
            case XDataItem::Kind::Real: putRaw(out, item.asReal()); break;
            case XDataItem::Kind::Integer: putRaw(out, item.asInt()); break;
            case XDataItem::Kind::Point: {
                Point3d p = item.asPoint();
                putRaw(out, p.x);
                putRaw(out, p.y);
                putRaw(out, p.z);
                break;
            }
            case XDataItem::Kind::Handle: putRaw(out, item.asHandle().value()); break;
        }
    }
    return out;
}

XDataChain unpackXData(std::string_view in) {
    XDataChain chain;
    // Items take at least four bytes packed; most take ten or more.
    chain.reserve(in.size() / 10 + 1);
    while (!in.empty()) {
        auto kind = static_cast<XDataItem::Kind>(in.front());
        in.remove_prefix(1);
        int code = getRaw<std::int16_t>(in);
        switch (kind) {
            case XDataItem::Kind::Text: {
                std::size_t n = 0;
                for (int shift = 0; !in.empty(); shift += 7) {
                    auto byte = static_cast<unsigned char>(in.front());
                    in.remove_prefix(1);
                    n |= static_cast<std::size_t>(byte & 0x7F) << shift;
                    if (!(byte & 0x80)) break;
                }
                n = std::min(n, in.size());
                chain.push_back(XDataItem::text(std::string(in.substr(0, n)), code));
                in.remove_prefix(n);
                break;
            }
            case XDataItem::Kind::Real: chain.push_back(XDataItem::real(getRaw<double>(in), code)); break;
            case XDataItem::Kind::Integer: chain.push_back(XDataItem::integer(getRaw<std::int32_t>(in), code)); break;
            case XDataItem::Kind::Point: {
                double x = getRaw<double>(in), y = getRaw<double>(in), z = getRaw<double>(in);
                chain.push_back(XDataItem::point({x, y, z}, code));
                break;
            }
            case XDataItem::Kind::Handle: {
                XDataItem item = XDataItem::handle(Handle(getRaw<std::uint64_t>(in)));
                chain.push_back(item);
                break;
            }
            default: return chain;  // not produced by packXData
        }
    }
    return chain;
}

namespace {

// Steps over one packed item; false at the end or on a kind it does not know.
bool skipPackedItem(std::string_view& in, XDataItem::Kind& kind, int& code, std::string_view& text) {
    if (in.empty()) return false;
    kind = static_cast<XDataItem::Kind>(in.front());
    in.remove_prefix(1);
    code = getRaw<std::int16_t>(in);
    std::size_t skip = 0;
    switch (kind) {
        case XDataItem::Kind::Text:
            for (int shift = 0; !in.empty(); shift += 7) {
                auto byte = static_cast<unsigned char>(in.front());
                in.remove_prefix(1);
                skip |= static_cast<std::size_t>(byte & 0x7F) << shift;
                if (!(byte & 0x80)) break;
            }
            text = in.substr(0, skip);
            break;
        case XDataItem::Kind::Handle: skip = sizeof(std::uint64_t); break;
        case XDataItem::Kind::Real: skip = sizeof(double); break;
        case XDataItem::Kind::Integer: skip = sizeof(std::int32_t); break;
        case XDataItem::Kind::Point: skip = 3 * sizeof(double); break;
        default: return false;
    }
    in.remove_prefix(std::min(skip, in.size()));
    return true;
}

}  // namespace

bool packedXDataHasHandles(std::string_view in) {
    XDataItem::Kind kind{};
    int code = 0;
    std::string_view text;
    while (skipPackedItem(in, kind, code, text))
        if (kind == XDataItem::Kind::Handle) return true;
    return false;
}

std::string_view packedXDataOfApp(std::string_view packed, std::string_view app) {
    std::string_view in = packed;
    std::size_t start = std::string_view::npos;
    XDataItem::Kind kind{};
    int code = 0;
    std::string_view text;
    while (true) {
        const std::size_t at = packed.size() - in.size();
        if (!skipPackedItem(in, kind, code, text)) break;
        if (kind != XDataItem::Kind::Text || code != 1001) continue;
        if (start != std::string_view::npos) return packed.substr(start, at - start);
        if (symbolNamesEqual(text, app)) start = at;
    }
    return start == std::string_view::npos ? std::string_view() : packed.substr(start);
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
