#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace cad {

// What to send to a terminal to show a prompt and the line being edited on the row where the
// prompt began. All moves are relative to where the last drawing left the cursor, so text printed
// before the prompt on the same row stays. The line never wraps: when prompt and text are wider
// than the terminal, a window of the text around the cursor is shown and scrolls sideways. One
// column per code point.
class LineDisplay {
public:
    // Forgets earlier drawings: the cursor is where the prompt is to begin.
    void start() {
        cursorColumn_ = 0;
        firstShown_ = 0;
    }
    // Bytes that draw prompt and text with the cursor at byte offset cursor of text.
    std::string draw(std::string_view prompt, std::string_view text, std::size_t cursor, std::size_t columns);
    // Bytes that take the cursor back to where the prompt began and clear the row from there.
    std::string erase();

private:
    std::size_t cursorColumn_ = 0;
    std::size_t firstShown_ = 0;  // code point of the text shown first
};

}  // namespace cad
