#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/editor/LineDisplay.h"
#include "engine/editor/LineEditor.h"
#include "engine/editor/LineHistory.h"
#include "engine/editor/LineInput.h"

namespace cad {

// Lines typed on a terminal with editing keys and a history. The terminal is put in raw mode only
// while a line is edited. The editor draws prompt and line on the terminal itself; the host's
// output receives each prompt with its answer once, as plain text, when the line is done, so that
// output sent to a file reads as a script's transcript would.
class TerminalInput : public LineInput {
public:
    // Reads from the terminal on inputFd; the history lives in historyFile (empty: memory only).
    TerminalInput(int inputFd, const std::filesystem::path& historyFile);
    ~TerminalInput() override;
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    // True when fd is a terminal that understands the editor's control sequences.
    static bool canEdit(int fd);

    std::optional<std::string> readLine(std::string_view prompt) override;
    bool atEnd() const override { return ended_; }
    bool isInteractive() const override { return true; }

private:
    LineEditor::Outcome edit(std::string_view prompt);
    void redraw(std::string_view prompt);
    void writeTerminal(std::string_view bytes) const;
    // Puts the finished line on the terminal and in the host's output.
    void finish(std::string_view prompt, std::string_view shown);

    // A descriptor opened here, closed with the input.
    class OwnedFd {
    public:
        explicit OwnedFd(int fd = -1) : fd_(fd) {}
        ~OwnedFd();
        OwnedFd(const OwnedFd&) = delete;
        OwnedFd& operator=(const OwnedFd&) = delete;
        int get() const { return fd_; }

    private:
        int fd_;
    };

    int input_;
    // Standard output is this terminal: host output shows the finished line, the editor's drawing goes.
    bool outputIsTerminal_;
    OwnedFd ownOutput_;  // the controlling terminal when standard output is elsewhere
    int output_;
    LineHistory history_;
    LineEditor editor_;
    LineDisplay display_;
    // Text and cursor as last drawn: keys that change neither draw nothing.
    std::optional<std::pair<std::string, std::size_t>> drawn_;
    bool ended_ = false;
};

}  // namespace cad
