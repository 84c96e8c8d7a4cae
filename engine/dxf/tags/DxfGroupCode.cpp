// Value types by group code. Invariant: every code has a type; codes outside the known ranges
// are strings, so nothing read is ever refused for its code alone.
#include "engine/dxf/tags/DxfGroupCode.h"

namespace cad {

DxfValueType dxfValueType(int code) {
    using T = DxfValueType;
    if (code < 0) return T::Int32;  // API-only codes (-1 .. -5) never appear in files
    if (code <= 4) return T::String;
    if (code == 5) return T::Handle;
    if (code <= 9) return T::String;
    if (code <= 59) return T::Double;
    if (code <= 79) return T::Int16;
    if (code <= 89) return T::String;  // unassigned: kept as text
    if (code <= 99) return T::Int32;
    if (code <= 102) return T::String;
    if (code == 105) return T::Handle;
    if (code <= 109) return T::String;
    if (code <= 149) return T::Double;
    if (code <= 159) return T::String;
    if (code <= 169) return T::Int64;
    if (code <= 179) return T::Int16;
    if (code <= 209) return T::String;
    if (code <= 239) return T::Double;
    if (code <= 269) return T::String;
    if (code <= 289) return T::Int16;
    if (code <= 299) return T::Bool;
    if (code <= 309) return T::String;
    if (code <= 319) return T::Binary;
    if (code <= 369) return T::Handle;
    if (code <= 389) return T::Int16;
    if (code <= 399) return T::Handle;
    if (code <= 409) return T::Int16;
    if (code <= 419) return T::String;
    if (code <= 429) return T::Int32;
    if (code <= 439) return T::String;
    if (code <= 459) return T::Int32;
    if (code <= 469) return T::Double;
    if (code <= 479) return T::String;
    if (code <= 481) return T::Handle;
    if (code == 999) return T::String;
    if (code < 1000) return T::String;
    if (code <= 1003) return T::String;
    if (code == 1004) return T::Binary;
    if (code == 1005) return T::Handle;
    if (code <= 1009) return T::String;
    if (code <= 1059) return T::Double;
    if (code <= 1070) return T::Int16;
    if (code == 1071) return T::Int32;
    return T::String;
}

}  // namespace cad
