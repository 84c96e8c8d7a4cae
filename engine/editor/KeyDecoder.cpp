#include "engine/editor/KeyDecoder.h"

namespace cad {

namespace {

using Kind = Key::Kind;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

std::optional<Kind> controlKey(unsigned char byte) {
    switch (byte) {
        case 0x01: return Kind::Home;         // Ctrl-A
        case 0x02: return Kind::Left;         // Ctrl-B
        case 0x03: return Kind::Interrupt;    // Ctrl-C
        case 0x04: return Kind::CtrlD;
        case 0x05: return Kind::End;          // Ctrl-E
        case 0x06: return Kind::Right;        // Ctrl-F
        case 0x08: return Kind::Backspace;    // Ctrl-H
        case 0x0b: return Kind::KillToEnd;    // Ctrl-K
        case 0x0c: return Kind::ClearScreen;  // Ctrl-L
        case 0x0e: return Kind::Down;         // Ctrl-N
        case 0x10: return Kind::Up;           // Ctrl-P
        case 0x15: return Kind::KillToStart;  // Ctrl-U
        case 0x17: return Kind::KillWordBack; // Ctrl-W
        case 0x7f: return Kind::Backspace;
        default: return std::nullopt;
    }
}

// The key a CSI sequence (ESC [ parameters final) stands for; nothing for one to swallow.
std::optional<Kind> csiKey(std::string_view parameters, char final) {
    switch (final) {
        case 'A': return Kind::Up;
        case 'B': return Kind::Down;
        case 'C': return Kind::Right;
        case 'D': return Kind::Left;
        case 'H': return Kind::Home;
        case 'F': return Kind::End;
        case '~': {
            std::string_view number = parameters.substr(0, parameters.find(';'));
            if (number == "1" || number == "7") return Kind::Home;
            if (number == "4" || number == "8") return Kind::End;
            if (number == "3") return Kind::Delete;
            return std::nullopt;
        }
        default: return std::nullopt;
    }
}

std::optional<Kind> ss3Key(char final) {
    switch (final) {
        case 'A': return Kind::Up;
        case 'B': return Kind::Down;
        case 'C': return Kind::Right;
        case 'D': return Kind::Left;
        case 'H': return Kind::Home;
        case 'F': return Kind::End;
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<Key> KeyDecoder::next() {
    while (!pending_.empty()) {
        Key key{Kind::Text, {}};
        std::size_t used = 0;
        Step step = decode(key, used);
        if (step == Step::Incomplete) return std::nullopt;
        bool carriageReturn = pending_.front() == '\r';
        bool lineFeed = pending_.front() == '\n';
        pending_.erase(0, used);
        // A pasted CR LF is one line end, not a line and an empty one.
        bool pairedLineFeed = lineFeed && afterCarriageReturn_;
        afterCarriageReturn_ = carriageReturn;
        if (step == Step::Key && !pairedLineFeed) return key;
    }
    return std::nullopt;
}

std::optional<Key> KeyDecoder::expire() {
    if (pending_ == "\x1b") {
        pending_.clear();
        return Key{Kind::Escape, {}};
    }
    if (waitingForEscape()) pending_.clear();
    return std::nullopt;
}

KeyDecoder::Step KeyDecoder::decode(Key& key, std::size_t& used) const {
    auto byte = static_cast<unsigned char>(pending_.front());
    used = 1;
    if (byte == 0x1b) return decodeEscape(key, used);
    if (byte == '\r' || byte == '\n') {
        key.kind = Kind::Enter;
        return Step::Key;
    }
    if (byte == '\t') {
        // One column per character on the line: a tab is typed as a blank.
        key.text.assign(1, ' ');
        return Step::Key;
    }
    if (auto kind = controlKey(byte)) {
        key.kind = *kind;
        return Step::Key;
    }
    if (byte < 0x20) return Step::Skip;
    if (byte < 0x80) {
        key.text.assign(1, static_cast<char>(byte));
        return Step::Key;
    }
    return decodeUtf8(key, used);
}

KeyDecoder::Step KeyDecoder::decodeEscape(Key& key, std::size_t& used) const {
    if (pending_.size() < 2) return Step::Incomplete;
    char second = pending_[1];
    if (second == '[') {
        std::size_t i = 2;
        while (i < pending_.size() && pending_[i] >= 0x20 && pending_[i] <= 0x3f) ++i;
        if (i == pending_.size()) return Step::Incomplete;
        auto final = static_cast<unsigned char>(pending_[i]);
        if (final < 0x40 || final > 0x7e) {
            // Broken off by a byte that cannot end it: drop what came so far, keep that byte.
            used = i;
            return Step::Skip;
        }
        used = i + 1;
        auto kind = csiKey(std::string_view(pending_).substr(2, i - 2), static_cast<char>(final));
        if (!kind) return Step::Skip;
        key.kind = *kind;
        return Step::Key;
    }
    if (second == 'O') {
        if (pending_.size() < 3) return Step::Incomplete;
        used = 3;
        auto kind = ss3Key(pending_[2]);
        if (!kind) return Step::Skip;
        key.kind = *kind;
        return Step::Key;
    }
    if (static_cast<unsigned char>(second) < 0x20) {
        // Escape followed by another control key: the Escape key was pressed on its own.
        key.kind = Kind::Escape;
        return Step::Key;
    }
    // Alt with a key: nothing the editor does.
    used = 2;
    return Step::Skip;
}

KeyDecoder::Step KeyDecoder::decodeUtf8(Key& key, std::size_t& used) const {
    std::size_t length = utf8Length(static_cast<unsigned char>(pending_.front()));
    if (length == 0) return Step::Skip;
    for (std::size_t i = 1; i < length; ++i) {
        if (i == pending_.size()) return Step::Incomplete;
        if (!isContinuation(static_cast<unsigned char>(pending_[i]))) return Step::Skip;
    }
    used = length;
    key.text = pending_.substr(0, length);
    return Step::Key;
}

}  // namespace cad
