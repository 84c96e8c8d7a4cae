#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// Handles are 64-bit numbers written as upper-case hex without leading zeros; 0 means none.
std::optional<std::uint64_t> parseDxfHandle(std::string_view text);
std::string formatDxfHandle(std::uint64_t handle);

}  // namespace cad
