#include "engine/editor/HostOutput.h"

#include <cstdio>

namespace cad {

namespace {

class StdoutSink : public OutputSink {
public:
    void write(std::string_view text) override {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
    }
};

StdoutSink& stdoutSink() {
    static StdoutSink sink;
    return sink;
}

// The platform keeps one command line per host process.
OutputSink* g_sink = nullptr;

}  // namespace

void setOutputSink(OutputSink* sink) { g_sink = sink; }

OutputSink& outputSink() { return g_sink ? *g_sink : stdoutSink(); }

void print(std::string_view text) { outputSink().write(text); }

CapturedOutput::CapturedOutput() : previous_(g_sink) { g_sink = this; }

CapturedOutput::~CapturedOutput() { g_sink = previous_; }

}  // namespace cad
