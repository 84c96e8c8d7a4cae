#pragma once

namespace cad {

// What a group code's value line holds. The code alone decides it.
enum class DxfValueType { String, Int16, Int32, Int64, Double, Bool, Handle, Binary };

DxfValueType dxfValueType(int code);

inline bool isDxfNumeric(DxfValueType type) {
    return type == DxfValueType::Int16 || type == DxfValueType::Int32 || type == DxfValueType::Int64 ||
           type == DxfValueType::Double || type == DxfValueType::Bool;
}

inline bool isDxfInteger(DxfValueType type) {
    return type == DxfValueType::Int16 || type == DxfValueType::Int32 || type == DxfValueType::Int64 ||
           type == DxfValueType::Bool;
}

// Codes whose value is a pointer to another object (owners, references, reactors, xdata 1005).
inline bool isDxfPointerCode(int code) {
    return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481 ||
           code == 1005;
}

}  // namespace cad
