#pragma once
#include <string>
#include <string_view>

#include <fmt/printf.h>

namespace cad {

// Where the host's command-line text goes. The console installs a sink that writes to the
// terminal or a transcript; until then text goes to standard output.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual void write(std::string_view text) = 0;
};

// Installs a sink for the current host (nullptr restores standard output). The caller keeps
// ownership and must uninstall it before destroying it; ScopedOutputSink does both.
void setOutputSink(OutputSink* sink);
OutputSink& outputSink();

// Prints text on the command line, as it stands.
void print(std::string_view text);

// printf-style output, for the module's texts that are given as C formats.
template <typename... Args>
void printf(std::string_view format, const Args&... args) {
    print(fmt::sprintf(format, args...));
}

// Captures command-line output into a string while in scope (tests, transcripts).
class CapturedOutput : public OutputSink {
public:
    CapturedOutput();
    ~CapturedOutput() override;
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;

    void write(std::string_view text) override { text_.append(text); }
    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }

private:
    std::string text_;
    OutputSink* previous_;
};

}  // namespace cad
