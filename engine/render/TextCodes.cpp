#include "engine/render/TextCodes.h"

#include <cctype>
#include <cstdlib>

namespace cad {

namespace {

// \U+XXXX at `i` (pointing at the backslash): appends the character and advances past it.
bool takeUnicodeEscape(std::string_view text, std::size_t& i, std::string& out) {
    if (i + 7 > text.size() || text[i + 1] != 'U' || text[i + 2] != '+') return false;
    unsigned cp = 0;
    for (std::size_t k = 3; k < 7; ++k) {
        const char c = text[i + k];
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        cp = cp * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (std::toupper(c) - 'A' + 10));
    }
    appendUtf8(out, cp);
    i += 7;
    return true;
}

}  // namespace

std::string decodeTextCodes(std::string_view text, std::vector<TextRule>* rules) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    // Where each toggle was switched on, while it is.
    std::size_t open[3] = {std::string::npos, std::string::npos, std::string::npos};
    constexpr char kinds[3] = {'u', 'o', 'k'};
    auto toggle = [&](int k) {
        if (open[k] == std::string::npos) {
            open[k] = out.size();
            return;
        }
        if (rules && out.size() > open[k]) rules->push_back({kinds[k], open[k], out.size()});
        open[k] = std::string::npos;
    };
    while (i < text.size()) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '%') {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 2])));
            switch (c) {
                case 'c': appendUtf8(out, 0xD8); i += 3; continue;  // diameter
                case 'd': appendUtf8(out, 0xB0); i += 3; continue;
                case 'p': appendUtf8(out, 0xB1); i += 3; continue;
                case '%': out += '%'; i += 3; continue;
                case 'u':
                case 'o':
                case 'k':
                    toggle(c == 'u' ? 0 : c == 'o' ? 1 : 2);
                    i += 3;
                    continue;
                default: break;
            }
            if (std::isdigit(static_cast<unsigned char>(text[i + 2]))) {
                std::size_t j = i + 2;
                unsigned code = 0;
                while (j < text.size() && j < i + 5 && std::isdigit(static_cast<unsigned char>(text[j])))
                    code = code * 10 + static_cast<unsigned>(text[j++] - '0');
                appendUtf8(out, code);
                i = j;
                continue;
            }
        }
        if (text[i] == '\\' && takeUnicodeEscape(text, i, out)) continue;
        // One line holds no line end or tab: a space stands for them.
        if (static_cast<unsigned char>(text[i]) < 0x20) {
            out += ' ';
            ++i;
            continue;
        }
        out += text[i++];
    }
    // A toggle left on runs to the end.
    for (int k = 0; k < 3; ++k)
        if (open[k] != std::string::npos) toggle(k);
    return out;
}

}  // namespace cad
