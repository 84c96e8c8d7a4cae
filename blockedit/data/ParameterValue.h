#pragma once
#include <string>
#include <variant>

#include "logging/DateTime.h"

// The value a stored-procedure parameter sends and receives: empty (null) or one of the kinds the
// procedures are declared with.
using CParameterValue = std::variant<std::monostate, bool, int, unsigned char, double, std::string, CDateTime>;

inline bool isNullValue(const CParameterValue& value) { return std::holds_alternative<std::monostate>(value); }

// The value as text: "" for null, "1"/"0" for booleans, numbers in decimal (doubles with up to 17
// significant digits), date-times as "YYYY-MM-DD hh:mm:ss".
std::string parameterValueText(const CParameterValue& value);
