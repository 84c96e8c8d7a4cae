#include "engine/db/Handle.h"

namespace cad {

std::string Handle::toString() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    if (value_ == 0) return "0";
    char buffer[16];
    int pos = 16;
    for (std::uint64_t v = value_; v != 0; v >>= 4) buffer[--pos] = kDigits[v & 0xF];
    return std::string(buffer + pos, buffer + 16);
}

std::optional<Handle> Handle::parse(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else return std::nullopt;
        value = (value << 4) | digit;
    }
    return Handle(value);
}

}  // namespace cad
