#pragma once
// Text helpers for names and keywords. Drawing names compare case-insensitively in the ASCII range
// only: a locale-dependent comparison would let the same drawing read differently on two machines.
#include <string>
#include <string_view>

namespace cad {

inline constexpr std::string_view kLineBlanks = " \t";
inline constexpr std::string_view kAllBlanks = " \t\r\n\v\f";

inline std::string_view trimBlanks(std::string_view s, std::string_view blanks = kLineBlanks) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

inline char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string toUpperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = toUpperAscii(c);
    return out;
}

inline std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

inline bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (toUpperAscii(a[i]) != toUpperAscii(b[i])) return false;
    return true;
}

}  // namespace cad
