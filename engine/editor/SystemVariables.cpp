#include "engine/editor/SystemVariables.h"
#include "engine/text/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace cad {

namespace {

}  // namespace

SystemVariables::SystemVariables() {
    vars_["FILEDIA"] = {1, 0, 1};
    vars_["SORTENTS"] = {127, 0, 127};
    vars_["LUNITS"] = {2, 1, 5};
    vars_["INSUNITS"] = {4, 0, 24};
    vars_["CMDECHO"] = {1, 0, 1};
}

std::optional<int> SystemVariables::get(std::string_view name) const {
    auto it = vars_.find(toUpperAscii(name));
    if (it == vars_.end()) return std::nullopt;
    return it->second.value;
}

std::string SystemVariables::checkValue(std::string_view name, int value) const {
    auto it = vars_.find(toUpperAscii(name));
    if (it == vars_.end()) return "Unknown variable name.";
    if (value < it->second.min || value > it->second.max)
        return "Requires an integer between " + std::to_string(it->second.min) + " and " +
               std::to_string(it->second.max) + ".";
    return "";
}

bool SystemVariables::set(std::string_view name, int value) {
    if (!checkValue(name, value).empty()) return false;
    vars_.find(toUpperAscii(name))->second.value = value;
    return true;
}

std::vector<std::string> SystemVariables::names() const {
    std::vector<std::string> n;
    for (const auto& [k, v] : vars_) n.push_back(k);
    return n;
}

}  // namespace cad
