#pragma once
#include <cstdint>

namespace cad {

// What an object is, for code that dispatches on it (the DXF writer, the renderer) without a chain
// of casts.
enum class ObjectKind : std::uint8_t {
    // tables and their records
    SymbolTable,
    BlockTableRecord,
    LayerTableRecord,
    LinetypeTableRecord,
    TextStyleTableRecord,
    RegAppTableRecord,
    UcsTableRecord,
    ViewportTableRecord,
    OtherTableRecord,  // VIEW, DIMSTYLE and other records kept with their tags
    // non-graphical objects
    Dictionary,
    Layout,
    SortentsTable,
    Group,
    XRecord,
    TableStyle,
    Placeholder,
    UnknownObject,
    // entities
    BlockBegin,
    BlockEnd,
    SequenceEnd,
    Line,
    Circle,
    Arc,
    Polyline,
    Text,
    AttributeDefinition,
    Attribute,
    BlockReference,
    Table,
    Hatch,
    Viewport,
    UnknownEntity,
};

}  // namespace cad
