#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/engine/dxf/DxfTestSupport.h"

// The console on a pseudo-terminal, typed at as a user would.
namespace {

using dxftest::slurp;
using TempFolder = dxftest::TempDir;

std::filesystem::path consoleBinary() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "brinmo";
}

// brinmo --no-module with its standard input on a pseudo-terminal; standard output on the same
// terminal, or in a file when one is named.
class ConsoleOnTerminal {
public:
    ConsoleOnTerminal(const std::filesystem::path& appdata, const std::filesystem::path& stdoutFile = {}) {
        winsize size{};
        size.ws_row = 24;
        size.ws_col = 80;
        if (openpty(&master_, &slave_, nullptr, nullptr, &size) != 0)
            throw std::runtime_error("openpty failed");
        // Everything the child needs is made before the fork.
        std::string binary = consoleBinary().string();
        std::string term = "TERM=xterm", data = "BRINMO_APPDATA=" + appdata.string(), path = "PATH=/usr/bin:/bin";
        char* const argv[] = {binary.data(), const_cast<char*>("--no-module"), const_cast<char*>("--profile"),
                              const_cast<char*>("generic"), nullptr};
        char* const envp[] = {term.data(), data.data(), path.data(), nullptr};
        child_ = fork();
        if (child_ == 0) {
            close(master_);
            login_tty(slave_);
            if (!stdoutFile.empty()) dup2(open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
            execve(binary.c_str(), argv, envp);
            _exit(127);
        }
    }
    ~ConsoleOnTerminal() {
        if (child_ > 0) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
        close(master_);
        close(slave_);
    }

    void type(const std::string& keys) {
        ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads the terminal until text appears after what earlier waits consumed.
    bool waitFor(const std::string& text) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (true) {
            auto found = screen_.find(text, consumed_);
            if (found != std::string::npos) {
                consumed_ = found + text.size();
                return true;
            }
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                              std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            char buffer[1024];
            ssize_t n = read(master_, buffer, sizeof buffer);
            if (n <= 0) return false;
            screen_.append(buffer, static_cast<std::size_t>(n));
        }
    }

    // The exit status once the console ended, -1 when it did not end in time.
    int exitStatus() {
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (waitpid(child_, &status, WNOHANG) == child_) {
                child_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            // Keep the terminal drained so the console never blocks writing.
            char buffer[1024];
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 100) > 0) (void)!read(master_, buffer, sizeof buffer);
        }
        return -1;
    }

    void signal(int number) { kill(child_, number); }

    termios settings() const {
        termios t{};
        tcgetattr(slave_, &t);
        return t;
    }
    const std::string& screen() const { return screen_; }

private:
    int master_ = -1;
    int slave_ = -1;
    pid_t child_ = -1;
    std::string screen_;
    std::size_t consumed_ = 0;
};

const std::string kLeft = "\x1b[D";
const std::string kUp = "\x1b[A";
// What a fresh pseudo-terminal has and raw mode takes away.
constexpr tcflag_t kCooked = ICANON | ECHO | ISIG;

TEST(TerminalSession, EditingRecallCancelAndEndOnARealTerminal) {
    TempFolder appdata;
    std::filesystem::create_directories(appdata.path() / "brinmo");
    std::ofstream(appdata.path() / "brinmo" / "history") << "setvar filedia\n";
    {
        ConsoleOnTerminal console(appdata.path());
        ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
        console.type("getvr" + kLeft + "a\r");
        ASSERT_TRUE(console.waitFor("Variable name: ")) << console.screen();
        console.type("filedia\r");
        ASSERT_TRUE(console.waitFor("FILEDIA = 1")) << console.screen();
        // History: setvar filedia (from the file), getvar, filedia.
        ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
        console.type(kUp + kUp + kUp + "\r");
        ASSERT_TRUE(console.waitFor("Enter new value for FILEDIA <1>: ")) << console.screen();
        console.type("0\r");
        ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
        console.type("nosuch\x03");
        ASSERT_TRUE(console.waitFor("nosuch^C")) << console.screen();
        ASSERT_TRUE(console.waitFor("*Cancel*")) << console.screen();
        ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
        console.type("getvar\rfiledia\r");
        ASSERT_TRUE(console.waitFor("FILEDIA = 0")) << console.screen();
        ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
        console.type("\x04");
        EXPECT_EQ(console.exitStatus(), 0) << console.screen();
        EXPECT_EQ(console.screen().find("Unknown command"), std::string::npos) << console.screen();
        EXPECT_EQ(console.settings().c_lflag & kCooked, kCooked);
    }
    EXPECT_EQ(slurp(appdata.path() / "brinmo" / "history"),
              "setvar filedia\ngetvar\nfiledia\nsetvar filedia\n0\ngetvar\nfiledia\n");

    // Standard output in a file: the transcript holds plain prompts and answers, no drawing.
    auto transcript = appdata.path() / "transcript";
    ConsoleOnTerminal console(appdata.path(), transcript);
    ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
    console.type("x" + kLeft + "\x7f\x1b[3~getvar\r");
    ASSERT_TRUE(console.waitFor("Variable name: ")) << console.screen();
    console.type("fil\x1b[Hedia\x1b");
    ASSERT_TRUE(console.waitFor("Command: ")) << console.screen();
    console.type("\x04");
    EXPECT_EQ(console.exitStatus(), 0) << console.screen();
    EXPECT_EQ(slurp(transcript), "Command: getvar\nVariable name: ediafil^C\n*Cancel*\nCommand: \n");

    // Ended by a signal while a line is edited: the terminal is given back as it was.
    ConsoleOnTerminal killed(appdata.path());
    ASSERT_TRUE(killed.waitFor("Command: ")) << killed.screen();
    EXPECT_EQ(killed.settings().c_lflag & ICANON, 0u);
    killed.signal(SIGTERM);
    EXPECT_EQ(killed.exitStatus(), 128 + SIGTERM);
    EXPECT_EQ(killed.settings().c_lflag & kCooked, kCooked);
}

}  // namespace
