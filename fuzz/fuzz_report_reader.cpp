// Feeds arbitrary bytes to the graphic report reader as a report file, then writes what it read
// and reads that again. Anything thrown is a bug (a file the reader cannot use leaves the report
// empty), and so is a written file that does not settle: the second and third generations must be
// the same text. The plot scale code is left out of that comparison, as a file carries the
// program's code and is read as the database's, which moves codes from 19 up by one each time.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/editor/HostOutput.h"
#include "reports/GraphicReport.h"

namespace {

std::string scratch(const char* tag) {
    return "/tmp/fuzz-report-" + std::to_string(::getpid()) + "-" + tag + ".xml";
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string withoutScale(const std::string& text) {
    std::istringstream in(text);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.find("<grPlotScaleTypeID>") == std::string::npos) kept += line + "\n";
    return kept;
}

// Reads `from` and writes what was read to `to`; the text written.
std::string generation(const std::string& from, const std::string& to) {
    CGraphicReport report;
    report.deSerialize(from);
    report.serialize(to);
    return readAll(to);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cad::CapturedOutput quiet;
    const std::string input = scratch("in"), first = scratch("1"), second = scratch("2"), third = scratch("3");
    {
        std::ofstream out(input, std::ios::binary);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        generation(input, first);
        const std::string two = generation(first, second);
        const std::string three = generation(second, third);
        if (withoutScale(two) != withoutScale(three)) {
            std::fprintf(stderr, "unsettled report:\n--- second\n%s--- third\n%s", two.c_str(), three.c_str());
            std::abort();
        }
    } catch (...) {
        std::fprintf(stderr, "the report reader threw\n");
        std::abort();
    }
    return 0;
}
