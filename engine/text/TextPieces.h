#pragma once
#include <cstddef>
#include <string_view>

namespace cad {

// Long values go into a drawing file in pieces of at most `limit` bytes. The length of the first
// piece of `text`: never cutting a UTF-8 character or a caret pair ("^J"), which a reader that
// decodes each piece on its own would take apart. Every caret in `text` begins a pair.
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
