#include "engine/editor/LineDisplay.h"

#include <algorithm>
#include <vector>

namespace cad {

namespace {

// Byte offsets at which each code point starts, plus the end.
std::vector<std::size_t> codePointStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

std::size_t codePoints(std::string_view text) { return codePointStarts(text).size() - 1; }

std::string moveLeft(std::size_t columns) {
    // A count of zero would still move one column.
    return columns == 0 ? std::string() : "\x1b[" + std::to_string(columns) + "D";
}

}  // namespace

std::string LineDisplay::draw(std::string_view prompt, std::string_view text, std::size_t cursor,
                              std::size_t columns) {
    std::vector<std::size_t> starts = codePointStarts(text);
    std::size_t length = starts.size() - 1;
    auto cursorStart = std::lower_bound(starts.begin(), starts.end(), cursor);
    auto at = static_cast<std::size_t>(cursorStart - starts.begin());
    std::size_t promptWidth = codePoints(prompt);
    // The last column stays free so that the terminal never wraps the row.
    std::size_t room = columns > promptWidth + 9 ? columns - promptWidth - 1 : 8;
    if (length <= room) {
        firstShown_ = 0;
    } else {
        if (at < firstShown_) firstShown_ = at;
        if (at > firstShown_ + room) firstShown_ = at - room;
        firstShown_ = std::min(firstShown_, length - room);
    }
    std::size_t lastShown = std::min(length, firstShown_ + room);

    std::string out = moveLeft(cursorColumn_);
    out.append(prompt);
    out.append(text.substr(starts[firstShown_], starts[lastShown] - starts[firstShown_]));
    out.append("\x1b[K");
    out.append(moveLeft(lastShown - at));
    cursorColumn_ = promptWidth + at - firstShown_;
    return out;
}

std::string LineDisplay::erase() {
    std::string out = moveLeft(cursorColumn_);
    out.append("\x1b[K");
    cursorColumn_ = 0;
    return out;
}

}  // namespace cad
