#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cad {

// The host's integer system variables, by name in any letter case.
class SystemVariables {
public:
    SystemVariables();

    std::optional<int> get(std::string_view name) const;
    // False for an unknown variable or a value outside its range.
    bool set(std::string_view name, int value);
    // "Requires an integer between 0 and 127." style text for a refused value, empty when fine.
    std::string checkValue(std::string_view name, int value) const;
    std::vector<std::string> names() const;

private:
    struct Variable {
        int value;
        int min;
        int max;
    };
    std::map<std::string, Variable, std::less<>> vars_;
};

}  // namespace cad
