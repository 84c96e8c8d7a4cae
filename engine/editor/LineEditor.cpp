#include "engine/editor/LineEditor.h"

namespace cad {

namespace {

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

bool isBlank(char byte) { return byte == ' ' || byte == '\t'; }

}  // namespace

void LineEditor::startLine() {
    text_.clear();
    cursor_ = 0;
    draft_.clear();
    historyIndex_ = history_.entries().size();
    clearScreen_ = false;
}

LineEditor::Outcome LineEditor::run() {
    while (auto key = decoder_.next()) {
        Outcome outcome = apply(*key);
        if (outcome != Outcome::Editing) return outcome;
    }
    return Outcome::Editing;
}

LineEditor::Outcome LineEditor::expire() {
    if (auto key = decoder_.expire()) {
        Outcome outcome = apply(*key);
        if (outcome != Outcome::Editing) return outcome;
    }
    return run();
}

bool LineEditor::takeClearScreen() {
    bool clear = clearScreen_;
    clearScreen_ = false;
    return clear;
}

std::size_t LineEditor::previousBoundary(std::size_t at) const {
    if (at == 0) return 0;
    --at;
    while (at > 0 && isContinuation(text_[at])) --at;
    return at;
}

std::size_t LineEditor::nextBoundary(std::size_t at) const {
    if (at >= text_.size()) return text_.size();
    ++at;
    while (at < text_.size() && isContinuation(text_[at])) ++at;
    return at;
}

void LineEditor::showHistoryEntry(std::size_t index) {
    const auto& entries = history_.entries();
    if (historyIndex_ == entries.size()) draft_ = text_;
    historyIndex_ = index;
    text_ = index == entries.size() ? draft_ : entries[index];
    cursor_ = text_.size();
}

LineEditor::Outcome LineEditor::apply(const Key& key) {
    using Kind = Key::Kind;
    switch (key.kind) {
        case Kind::Text:
            text_.insert(cursor_, key.text);
            cursor_ += key.text.size();
            break;
        case Kind::Left: cursor_ = previousBoundary(cursor_); break;
        case Kind::Right: cursor_ = nextBoundary(cursor_); break;
        case Kind::Home: cursor_ = 0; break;
        case Kind::End: cursor_ = text_.size(); break;
        case Kind::Backspace: {
            std::size_t from = previousBoundary(cursor_);
            text_.erase(from, cursor_ - from);
            cursor_ = from;
            break;
        }
        case Kind::CtrlD:
            if (text_.empty()) return Outcome::EndOfInput;
            [[fallthrough]];
        case Kind::Delete: text_.erase(cursor_, nextBoundary(cursor_) - cursor_); break;
        case Kind::KillToEnd: text_.erase(cursor_); break;
        case Kind::KillToStart:
            text_.erase(0, cursor_);
            cursor_ = 0;
            break;
        case Kind::KillWordBack: {
            std::size_t from = cursor_;
            while (from > 0 && isBlank(text_[from - 1])) --from;
            while (from > 0 && !isBlank(text_[from - 1])) --from;
            text_.erase(from, cursor_ - from);
            cursor_ = from;
            break;
        }
        case Kind::ClearScreen: clearScreen_ = true; break;
        case Kind::Up:
            if (historyIndex_ > 0) showHistoryEntry(historyIndex_ - 1);
            break;
        case Kind::Down:
            if (historyIndex_ < history_.entries().size()) showHistoryEntry(historyIndex_ + 1);
            break;
        case Kind::Enter: return Outcome::Accepted;
        case Kind::Interrupt:
        case Kind::Escape: return Outcome::Cancelled;
    }
    return Outcome::Editing;
}

}  // namespace cad
