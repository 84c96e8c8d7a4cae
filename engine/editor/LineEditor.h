#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/editor/KeyDecoder.h"
#include "engine/editor/LineHistory.h"

namespace cad {

// The editing of one input line, apart from any terminal: keys decoded from bytes change the text
// and the cursor until the line is accepted, cancelled or the input ends. Bytes left after that
// stay for the next line (a paste of several lines, keys typed ahead).
//
// The cursor moves by code point; the display counts one column per code point.
class LineEditor {
public:
    enum class Outcome { Editing, Accepted, Cancelled, EndOfInput };

    explicit LineEditor(const LineHistory& history) : history_(history) {}

    // Starts a new, empty line at the newest end of the history.
    void startLine();
    void feed(std::string_view bytes) { decoder_.feed(bytes); }
    // Applies the keys fed so far until the line is done or the bytes run out.
    Outcome run();
    // True while an Escape waits to learn whether a sequence follows.
    bool waitingForEscape() const { return decoder_.waitingForEscape(); }
    // Nothing followed the Escape in time.
    Outcome expire();

    const std::string& text() const { return text_; }
    // Byte offset of the cursor in text().
    std::size_t cursor() const { return cursor_; }
    // True once after Ctrl-L asked for a clean screen.
    bool takeClearScreen();

private:
    Outcome apply(const Key& key);
    std::size_t previousBoundary(std::size_t at) const;
    std::size_t nextBoundary(std::size_t at) const;
    void showHistoryEntry(std::size_t index);

    const LineHistory& history_;
    KeyDecoder decoder_;
    std::string text_;
    std::size_t cursor_ = 0;
    // Which history line is shown; entries().size() is the line being typed, kept in draft_.
    std::size_t historyIndex_ = 0;
    std::string draft_;
    bool clearScreen_ = false;
};

}  // namespace cad
