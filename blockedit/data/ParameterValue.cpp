#include "data/ParameterValue.h"

#include <fmt/format.h>

std::string parameterValueText(const CParameterValue& value) {
    struct Text {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool b) const { return b ? "1" : "0"; }
        std::string operator()(int i) const { return std::to_string(i); }
        std::string operator()(unsigned char b) const { return std::to_string(static_cast<int>(b)); }
        std::string operator()(double d) const { return fmt::format("{:.17g}", d); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const CDateTime& t) const {
            return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", t.year(), t.month(), t.day(), t.hour(),
                               t.minute(), t.second());
        }
    };
    return std::visit(Text{}, value);
}
