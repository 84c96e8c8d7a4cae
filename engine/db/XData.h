#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "engine/db/Handle.h"
#include "engine/db/RawTags.h"
#include "engine/geometry/Point3d.h"

namespace cad {

// One item of extended entity data: a group code (1000..1071) and its typed value. A point item
// (1010..1019) holds all three coordinates that DXF spreads over codes 10n0, 10n0+10, 10n0+20.
class XDataItem {
public:
    enum class Kind : std::uint8_t { Text, Real, Integer, Point, Handle };

    XDataItem() = default;
    static XDataItem appName(std::string name) { return XDataItem(1001, std::move(name)); }
    static XDataItem text(std::string value, int code = 1000) { return XDataItem(code, std::move(value)); }
    static XDataItem open() { return XDataItem(1002, std::string("{")); }
    static XDataItem close() { return XDataItem(1002, std::string("}")); }
    static XDataItem handle(cad::Handle h) { return XDataItem(1005, h); }
    static XDataItem real(double value, int code = 1040) { return XDataItem(code, value); }
    static XDataItem int16(std::int16_t value) { return XDataItem(1070, std::int32_t{value}); }
    static XDataItem int32(std::int32_t value) { return XDataItem(1071, value); }
    static XDataItem integer(std::int32_t value, int code) { return XDataItem(code, value); }
    static XDataItem point(const Point3d& p, int code = 1010) { return XDataItem(code, p); }

    // The kind a group code carries; codes outside the known ranges are kept as text.
    static Kind kindOfCode(int code);

    int code() const { return code_; }
    Kind kind() const;
    bool isAppName() const { return code_ == 1001; }
    bool isOpen() const { return code_ == 1002 && asText() == "{"; }
    bool isClose() const { return code_ == 1002 && asText() == "}"; }

    // Typed reads; a read of the wrong kind gives the empty value.
    const std::string& asText() const;
    double asReal() const;
    std::int32_t asInt() const;
    Point3d asPoint() const;
    cad::Handle asHandle() const;

    void setText(std::string value) { value_ = std::move(value); }
    void setReal(double value) { value_ = value; }
    void setInt(std::int32_t value) { value_ = value; }
    void setPoint(const Point3d& p) { value_ = p; }
    void setHandle(cad::Handle h) { value_ = h; }

    friend bool operator==(const XDataItem&, const XDataItem&) = default;

private:
    using Value = std::variant<std::string, double, std::int32_t, Point3d, cad::Handle>;
    XDataItem(int code, Value value) : code_(code), value_(std::move(value)) {}

    int code_ = 1000;
    Value value_;
};

// A chain of items, each application's part opened by its 1001 name item.
using XDataChain = std::vector<XDataItem>;

// Conversions between the DXF tag form (1001 ... up to the end of an object) and a chain. A
// malformed tag (a number that does not parse, a point without its Y) fails with a message naming
// the tag's position and code.
bool xdataFromTags(const RawTagList& tags, XDataChain& out, std::string* error = nullptr);
RawTagList xdataToTags(const XDataChain& chain);

// A compact byte form of a chain, for storing it with an object: a chain of short strings costs
// a fraction of its item vector.
std::string packXData(const XDataChain& chain);
XDataChain unpackXData(std::string_view packed);
// Whether the packed form holds a handle item, without unpacking it.
bool packedXDataHasHandles(std::string_view packed);
// One application's part of the packed form (from its 1001 item), empty when it has none.
std::string_view packedXDataOfApp(std::string_view packed, std::string_view app);

// The part of `chain` that belongs to `app` (its 1001 item included), or empty. Application
// names compare ignoring case, as symbol names do.
XDataChain xdataOfApp(const XDataChain& chain, std::string_view app);
// Names of the applications in `chain`, in order.
std::vector<std::string> xdataAppNames(const XDataChain& chain);

}  // namespace cad
