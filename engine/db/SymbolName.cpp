#include "engine/db/SymbolName.h"

namespace cad {

namespace {
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
}  // namespace

bool symbolNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::string symbolNameKey(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = upper(c);
    return out;
}

bool isValidSymbolName(std::string_view name, SymbolNameRule rule) {
    if (rule == SymbolNameRule::Block && !name.empty() && name.front() == '*') name.remove_prefix(1);
    if (name.empty() || name.size() > 255) return false;
    if (name.front() == ' ' || name.back() == ' ') return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
        switch (c) {
            case '<': case '>': case '/': case '\\': case '"': case ':': case ';':
            case '?': case '*': case '|': case ',': case '=': case '`':
                return false;
            default: break;
        }
    }
    return true;
}

}  // namespace cad
