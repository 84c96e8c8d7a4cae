#pragma once
#include <deque>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// Where the command line reads its lines from. An implementation shows the prompt (and, when the
// user cannot see what is typed, echoes the answer) so that the output reads like a session.
class LineInput {
public:
    virtual ~LineInput() = default;
    // Shows the prompt and reads one line without its line end; nothing at the end of the input.
    virtual std::optional<std::string> readLine(std::string_view prompt) = 0;
    // True when it is known that no line follows (a terminal cannot know before it is read).
    virtual bool atEnd() const = 0;
    // A person types the lines as they are asked for (a terminal), rather than a script giving
    // them in advance.
    virtual bool isInteractive() const { return false; }
    // Puts a line read back in front of the rest, for input given in advance; false when the
    // input cannot take it back (a person typing).
    virtual bool giveBack(std::string) { return false; }
};

// Lines given in advance: a script file, -c lines, a pipe. Each line read is echoed after its
// prompt, so a transcript shows prompts and answers as a user would have seen them. Lines whose
// first non-blank character is ';' are comments and are skipped.
class ScriptInput : public LineInput {
public:
    ScriptInput() = default;
    void addLine(std::string line);
    // Adds every line of the text (a file's content).
    void addText(std::string_view text);
    std::optional<std::string> readLine(std::string_view prompt) override;
    bool atEnd() const override;
    bool giveBack(std::string line) override;

private:
    void skipComments();
    std::deque<std::string> lines_;
};

// Lines typed on a terminal: the prompt is shown, the terminal shows what is typed.
class StreamInput : public LineInput {
public:
    explicit StreamInput(std::istream& in, bool interactive = true) : in_(in), interactive_(interactive) {}
    std::optional<std::string> readLine(std::string_view prompt) override;
    bool atEnd() const override { return ended_; }
    bool isInteractive() const override { return interactive_; }

private:
    std::istream& in_;
    bool interactive_;
    bool ended_ = false;
};

}  // namespace cad
