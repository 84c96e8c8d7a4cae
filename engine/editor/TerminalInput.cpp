#include "engine/editor/TerminalInput.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/editor/HostOutput.h"

namespace cad {

namespace {

// Long enough for the rest of an escape sequence to arrive, short enough to feel immediate.
constexpr int kEscapeWaitMs = 50;

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// A signal handler can only reach static storage: what it needs to give the terminal back.
struct SavedTerminal {
    int fd = -1;
    termios settings{};
    struct sigaction previous[std::size(kRestoringSignals)]{};
};
SavedTerminal g_saved;

extern "C" void restoreTerminalAndResignal(int signal) {
    tcsetattr(g_saved.fd, TCSANOW, &g_saved.settings);
    for (std::size_t i = 0; i < std::size(kRestoringSignals); ++i)
        if (kRestoringSignals[i] == signal) sigaction(signal, &g_saved.previous[i], nullptr);
    // Blocked until this handler returns; then the signal does what it would have done.
    raise(signal);
}

// The terminal in raw mode while in scope: keys arrive one by one, unechoed, and Ctrl-C, Ctrl-Z or
// Ctrl-\ are keys rather than signals. The settings before are restored on leaving the scope, and
// by a signal that ends the process meanwhile.
class RawMode {
public:
    explicit RawMode(int fd) {
        if (tcgetattr(fd, &g_saved.settings) != 0) return;
        g_saved.fd = fd;
        struct sigaction action {};
        action.sa_handler = restoreTerminalAndResignal;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kRestoringSignals); ++i)
            sigaction(kRestoringSignals[i], &action, &g_saved.previous[i]);
        termios raw = g_saved.settings;
        raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INLCR | IGNCR | ISTRIP | IXON);
        raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | ISIG | IEXTEN);
        raw.c_cflag |= CS8;
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        // TCSANOW keeps what was typed ahead while a command ran.
        if (tcsetattr(fd, TCSANOW, &raw) != 0) restore();
    }
    ~RawMode() {
        if (g_saved.fd >= 0) restore();
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;

private:
    void restore() {
        tcsetattr(g_saved.fd, TCSANOW, &g_saved.settings);
        for (std::size_t i = 0; i < std::size(kRestoringSignals); ++i)
            sigaction(kRestoringSignals[i], &g_saved.previous[i], nullptr);
        g_saved.fd = -1;
    }
};

bool sameTerminal(int a, int b) {
    struct stat sa {}, sb {};
    return isatty(a) && isatty(b) && fstat(a, &sa) == 0 && fstat(b, &sb) == 0 && sa.st_rdev == sb.st_rdev;
}

std::size_t terminalColumns(int fd) {
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

}  // namespace

TerminalInput::OwnedFd::~OwnedFd() {
    if (fd_ >= 0) close(fd_);
}

TerminalInput::TerminalInput(int inputFd, const std::filesystem::path& historyFile)
    : input_(inputFd),
      outputIsTerminal_(sameTerminal(inputFd, STDOUT_FILENO)),
      ownOutput_(outputIsTerminal_ ? -1 : open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC)),
      // Without a controlling terminal the input's descriptor is tried: it is often open for writing.
      output_(outputIsTerminal_ ? STDOUT_FILENO : ownOutput_.get() >= 0 ? ownOutput_.get() : inputFd),
      history_(historyFile),
      editor_(history_) {}

TerminalInput::~TerminalInput() { history_.compact(); }

bool TerminalInput::canEdit(int fd) {
    const char* term = std::getenv("TERM");
    return isatty(fd) && term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
}

void TerminalInput::writeTerminal(std::string_view bytes) const {
    while (!bytes.empty()) {
        ssize_t n = write(output_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        // A terminal that went away shows nothing more; reading will notice the end.
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

void TerminalInput::redraw(std::string_view prompt) {
    if (drawn_ && drawn_->first == editor_.text() && drawn_->second == editor_.cursor()) return;
    drawn_.emplace(editor_.text(), editor_.cursor());
    writeTerminal(display_.draw(prompt, editor_.text(), editor_.cursor(), terminalColumns(output_)));
}

LineEditor::Outcome TerminalInput::edit(std::string_view prompt) {
    RawMode raw(input_);
    editor_.startLine();
    display_.start();
    drawn_.reset();
    // Keys typed ahead may already finish the line.
    LineEditor::Outcome outcome = editor_.run();
    while (outcome == LineEditor::Outcome::Editing) {
        if (editor_.takeClearScreen()) {
            writeTerminal("\x1b[H\x1b[2J");
            display_.start();
            drawn_.reset();
        }
        redraw(prompt);
        if (editor_.waitingForEscape()) {
            pollfd wait{input_, POLLIN, 0};
            int ready = poll(&wait, 1, kEscapeWaitMs);
            if (ready == 0) {
                outcome = editor_.expire();
                continue;
            }
            if (ready < 0) continue;
        }
        char buffer[256];
        ssize_t n = read(input_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return LineEditor::Outcome::EndOfInput;
        editor_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
        outcome = editor_.run();
    }
    return outcome;
}

void TerminalInput::finish(std::string_view prompt, std::string_view shown) {
    std::string line = std::string(prompt) + std::string(shown) + "\n";
    if (outputIsTerminal_) {
        // The host's output writes the line on this very terminal.
        writeTerminal(display_.erase());
    } else {
        writeTerminal(display_.draw(prompt, shown, shown.size(), terminalColumns(output_)) + "\r\n");
    }
    print(line);
}

std::optional<std::string> TerminalInput::readLine(std::string_view prompt) {
    // Only the prompt's last row is redrawn while editing; rows before it are printed once.
    std::size_t lastBreak = prompt.rfind('\n');
    if (lastBreak != std::string_view::npos) {
        std::string_view rows = prompt.substr(0, lastBreak + 1);
        print(rows);
        if (!outputIsTerminal_) writeTerminal(rows);
        prompt.remove_prefix(lastBreak + 1);
    }
    if (ended_) {
        print(std::string(prompt) + "\n");
        return std::nullopt;
    }
    LineEditor::Outcome outcome = edit(prompt);
    switch (outcome) {
        case LineEditor::Outcome::Accepted: {
            std::string line = editor_.text();
            finish(prompt, line);
            history_.add(line);
            return line;
        }
        case LineEditor::Outcome::Cancelled:
            finish(prompt, editor_.text() + "^C");
            return "^C";
        case LineEditor::Outcome::EndOfInput:
        case LineEditor::Outcome::Editing: break;
    }
    ended_ = true;
    finish(prompt, "");
    return std::nullopt;
}

}  // namespace cad
