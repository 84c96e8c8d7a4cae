#include "module/HostPlatform.h"

#include <algorithm>
#include <cctype>

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
