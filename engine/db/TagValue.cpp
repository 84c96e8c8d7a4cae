#include "engine/db/TagValue.h"
#include "engine/text/AsciiText.h"

#include <charconv>
#include <cmath>

namespace cad {

namespace {
std::string_view trimmed(std::string_view text) {
    text = trimBlanks(text, " \t\r\n");
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    return text;
}
}  // namespace

std::string formatDouble(double value) {
    if (value == 0.0) return "0.0";  // also folds -0.0
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, ec == std::errc{} ? end : buffer);
    if (text.find_first_of(".eEn") == std::string::npos) text += ".0";
    return text;
}

std::string formatInt(std::int64_t value) { return std::to_string(value); }

std::optional<double> parseDouble(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> parseInt(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace cad
