#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// One key of the line editor, decoded from what a terminal sends.
struct Key {
    enum class Kind {
        Text,         // one UTF-8 code point, in text
        Left,
        Right,
        Home,
        End,
        Backspace,
        Delete,
        CtrlD,        // delete under the cursor, or end of input on an empty line
        KillToEnd,
        KillToStart,
        KillWordBack,
        ClearScreen,
        Up,
        Down,
        Enter,
        Interrupt,    // Ctrl-C
        Escape,       // a lone Escape key
    };
    Kind kind;
    std::string text;
};

// Turns the bytes typed on a terminal into keys. Bytes may arrive in any pieces: a UTF-8 character
// or an escape sequence cut between two reads is kept until the rest arrives. Escape sequences the
// editor has no use for are swallowed whole; invalid UTF-8 bytes are dropped.
class KeyDecoder {
public:
    void feed(std::string_view bytes) { pending_.append(bytes); }
    // The next complete key; nothing when the bytes ran out (possibly in the middle of a key).
    std::optional<Key> next();
    // True when the bytes kept begin with an Escape that more bytes might turn into a sequence.
    bool waitingForEscape() const { return !pending_.empty() && pending_.front() == '\x1b'; }
    // No more bytes came in time: a lone Escape is the Escape key, a cut sequence is dropped.
    std::optional<Key> expire();

private:
    enum class Step { Key, Skip, Incomplete };
    Step decode(Key& key, std::size_t& used) const;
    Step decodeEscape(Key& key, std::size_t& used) const;
    Step decodeUtf8(Key& key, std::size_t& used) const;

    std::string pending_;
    bool afterCarriageReturn_ = false;
};

}  // namespace cad
