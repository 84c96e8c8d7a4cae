#include "engine/editor/HostProfile.h"

namespace cad {

std::optional<HostProfile> parseHostProfile(std::string_view name) {
    if (name == "autocad") return HostProfile::AutoCAD;
    if (name == "autocad-lt") return HostProfile::AutoCADLT;
    if (name == "bricscad") return HostProfile::BricsCAD;
    if (name == "generic") return HostProfile::Generic;
    return std::nullopt;
}

std::string productName(HostProfile profile) {
    switch (profile) {
        case HostProfile::AutoCAD: return "AutoCAD 2018";
        case HostProfile::AutoCADLT: return "AutoCAD LT 2018";
        case HostProfile::BricsCAD: return "BricsCAD V18";
        case HostProfile::Generic: return "Brinmo Generic Host";
    }
    return "Brinmo Generic Host";
}

}  // namespace cad
