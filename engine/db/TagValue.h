#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// Text forms of DXF values: numbers always with '.' whatever the locale, doubles in the shortest
// form that reads back to the same value.
std::string formatDouble(double value);
std::string formatInt(std::int64_t value);
// Surrounding blanks and a leading '+' are accepted; anything else after the number is not.
std::optional<double> parseDouble(std::string_view text);
std::optional<std::int64_t> parseInt(std::string_view text);

}  // namespace cad
