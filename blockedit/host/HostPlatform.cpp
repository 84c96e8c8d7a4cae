#include "host/HostPlatform.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

CHostPlatform::CHostPlatform(const std::string& productName) : hostKind_(kindFromProductName(productName)) {}

int CHostPlatform::kindFromProductName(const std::string& productName) {
    std::string name = productName;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.find("autocad") != std::string::npos)
        return name.find("tocad lt") != std::string::npos ? kAutoCADLT : kAutoCAD;
    if (name.find("bricscad") != std::string::npos) return kBricsCAD;
    return kUnknown;
}

namespace {

// One per loaded module, as the host's plug-in model has it.
std::optional<CHostPlatform> g_hostPlatform;

}  // namespace

const CHostPlatform& hostPlatform() {
    if (!g_hostPlatform) throw std::logic_error("the host platform is known only while the module is loaded");
    return *g_hostPlatform;
}

void buildHostPlatform(const std::string& productName) { g_hostPlatform.emplace(productName); }

void releaseHostPlatform() { g_hostPlatform.reset(); }
