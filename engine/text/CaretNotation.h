#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// A line end inside a value would end it in a drawing file: values carry control characters in
// caret notation, "^J" a line feed, "^@" a NUL, and a caret itself as "^ ".
inline void appendInCaretNotation(std::string& out, char c) {
    if (static_cast<unsigned char>(c) < 0x20) {
        out += '^';
        out += static_cast<char>(c + '@');
        return;
    }
    out += c;
    if (c == '^') out += ' ';
}

// The character the caret pair at `i` stands for; nothing when `i` holds no pair (a plain caret,
// as some writers leave them).
inline std::optional<char> caretPairAt(std::string_view text, std::size_t i) {
    if (i + 1 >= text.size() || text[i] != '^') return std::nullopt;
    const char next = text[i + 1];
    if (next == ' ') return '^';
    if (next >= '@' && next <= '_') return static_cast<char>(next - '@');
    return std::nullopt;
}

// Long values go into a drawing file in pieces of at most `limit` bytes. The length of the first
// piece of `text`: never cutting a UTF-8 character or a caret pair, which a reader that decodes
// each piece on its own would take apart. Every caret in `text` begins a pair.
inline std::size_t firstPieceLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::size_t i = 0;
    while (i < n) i += text[i] == '^' ? 2 : 1;
    if (i > n) --n;  // the cut fell between a caret and its character
    return n > 0 ? n : limit;
}

}  // namespace cad
