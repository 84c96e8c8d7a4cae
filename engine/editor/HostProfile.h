#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// Which product the host presents itself as; modules adapt a few commands to it.
enum class HostProfile { AutoCAD, AutoCADLT, BricsCAD, Generic };

// "autocad", "autocad-lt", "bricscad", "generic".
std::optional<HostProfile> parseHostProfile(std::string_view name);
// The product name the host reports, e.g. "AutoCAD 2018".
std::string productName(HostProfile profile);

}  // namespace cad
