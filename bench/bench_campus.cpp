// The whole maintenance job on a generated campus: open the drawing, update every space (mus),
// write the area schedule (mcsv), list the blocks with their assets (mlb), save. Prints each
// phase's time and the process's peak resident memory against the drawing's file size.
//
//   bench_campus [ROOMS [ASSETS_PER_ROOM [FOLDER]]]     defaults: 10000 5 /tmp/brinmo-campus
//
// The campus file is generated once (in a child process, so that building it does not count in
// the job's memory) and reused by later runs with the same sizes.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "FloorPlanGenerator.h"
#include "engine/editor/MemorySetup.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/editor/DocumentManager.h"
#include "engine/editor/DynamicLinker.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

namespace fs = std::filesystem;

namespace {

// Command-line output is counted, not kept: the listing alone is tens of thousands of lines.
class CountingSink : public cad::OutputSink {
public:
    void write(std::string_view text) override {
        bytes += text.size();
        for (char c : text) lines += c == '\n';
    }
    std::size_t bytes = 0;
    std::size_t lines = 0;
};

// CPU seconds of this process (user and system): on a shared machine the wall clock also counts
// the time others' work held the processors.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

long peakRssKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

bool generate(const fs::path& file, int rooms, int assetsPerRoom) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        try {
            floorplan::Options options;
            options.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(rooms))));
            options.rows = (rooms + options.columns - 1) / options.columns;
            options.assetsPerRoom = assetsPerRoom;
            options.spaceEvery = 1;
            options.arcEvery = 7;
            options.namePrefix = "C-";
            auto db = cad::Database::createDefault();
            floorplan::Generator(*db, options).build();
            db->updateExtents();
            cad::saveDxfDrawing(*db, cad::DxfFileInfo{}, file.string());
            _exit(0);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "bench_campus: generating %s: %s\n", file.c_str(), error.what());
            _exit(1);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Whether two drawings are the same text, or where the second first differs.
std::string compareFiles(const fs::path& a, const fs::path& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    const std::string ta((std::istreambuf_iterator<char>(fa)), std::istreambuf_iterator<char>());
    const std::string tb((std::istreambuf_iterator<char>(fb)), std::istreambuf_iterator<char>());
    if (ta == tb) return "identical (" + std::to_string(ta.size()) + " bytes)";
    std::size_t at = 0;
    while (at < ta.size() && at < tb.size() && ta[at] == tb[at]) ++at;
    const auto line = std::count(ta.begin(), ta.begin() + static_cast<std::ptrdiff_t>(at), '\n') + 1;
    return "different from line " + std::to_string(line) + " on (" + std::to_string(ta.size()) + " and " +
           std::to_string(tb.size()) + " bytes)";
}

}  // namespace

int main(int argc, char** argv) {
    // Pages of a reserved huge-page pool are left out of the peak RSS reported here.
    setenv("BRINMO_TRANSPARENT_PAGES", "1", 1);
    cad::restartWithLargePages(argv);
    const int rooms = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int assetsPerRoom = argc > 2 ? std::atoi(argv[2]) : 5;
    const fs::path folder = argc > 3 ? fs::path(argv[3]) : fs::temp_directory_path() / "brinmo-campus";
    fs::create_directories(folder);
    const fs::path drawing = folder / ("campus-" + std::to_string(rooms) + "-" + std::to_string(assetsPerRoom) + ".dxf");
    if (!fs::exists(drawing) && !generate(drawing, rooms, assetsPerRoom)) return 1;
    const double fileMiB = static_cast<double>(fs::file_size(drawing)) / (1024.0 * 1024.0);
    std::printf("campus: %d rooms, %d assets, %s (%.1f MiB); allocator %s\n", rooms, rooms * assetsPerRoom,
                drawing.c_str(), fileMiB,
                std::getenv("GLIBC_TUNABLES") ? "with transparent huge pages" : "with ordinary pages");

    // The job runs in the drawing's folder: the schedule is written there and no preferences
    // file is found, so the defaults apply (two decimals, metric, no CSV opener).
    fs::current_path(folder);
    // A settings folder of the run's own with the default preferences in it: the module's
    // first-load dialog does not come up, and the user's own settings are not touched.
    const fs::path prefs = folder / "appdata" / "KorvaSystems" / "Brinmo" / "prefs";
    fs::create_directories(prefs);
    std::ofstream(prefs / "prefs.cfg") << "units\n0\nprecison\n2\ntextSize\n250.00\ntextScale\n1.00\ntextRotation\n0.00\n"
                                          "csvOpener\nNONE\nzoomBorder\n1000\ninc\n1\n";
    setenv("BRINMO_APPDATA", (folder / "appdata").c_str(), 1);
    const fs::path module = fs::read_symlink("/proc/self/exe").parent_path() / "61R4I505blockEdit.arx";
    cad::ScriptInput input;
    CountingSink sink;
    cad::setOutputSink(&sink);
    int failures = 0;
    {
        cad::HostApplication host(cad::HostProfile::AutoCAD, input);
        auto loaded = host.dynamicLinker().loadModule(module.string());
        if (!loaded.ok) {
            cad::setOutputSink(nullptr);
            std::fprintf(stderr, "bench_campus: %s\n", loaded.message.c_str());
            return 1;
        }
        using Clock = std::chrono::steady_clock;
        double total = 0.0;
        double totalCpu = 0.0;
        auto phase = [&](const char* name, const std::function<bool()>& work) {
            const auto start = Clock::now();
            const double cpuStart = cpuSeconds();
            const bool ok = work();
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            const double cpuMs = (cpuSeconds() - cpuStart) * 1000.0;
            total += ms;
            totalCpu += cpuMs;
            std::fprintf(stderr, "%-6s %8.1f ms wall %8.1f ms CPU   peak RSS %7.1f MiB%s\n", name, ms, cpuMs,
                         peakRssKiB() / 1024.0, ok ? "" : "   FAILED");
            failures += ok ? 0 : 1;
        };
        std::string error;
        cad::Document* document = nullptr;
        phase("open", [&] { return (document = host.documentManager().openDocument(drawing.string(), error)) != nullptr; });
        if (document == nullptr) {
            cad::setOutputSink(nullptr);
            std::fprintf(stderr, "bench_campus: %s\n", error.c_str());
            return 1;
        }
        phase("mus", [&] { return host.runCommandLine("mus"); });
        phase("mcsv", [&] { return host.runCommandLine("mcsv"); });
        input.addLine("y");  // sort by handle, ascending
        input.addLine("y");  // list assets
        phase("mlb", [&] { return host.runCommandLine("mlb"); });
        const fs::path saved = folder / "campus-saved.dxf";
        phase("save", [&] { return host.documentManager().saveDocument(*document, saved.string(), error); });
        const double peakMiB = peakRssKiB() / 1024.0;
        std::fprintf(stderr, "total  %8.1f ms wall %8.1f ms CPU   peak RSS %7.1f MiB = %.2f x the file; %zu lines of output\n",
                     total, totalCpu, peakMiB, peakMiB / fileMiB, sink.lines);
        // The saved drawing's spaces are current: mus again must change nothing, and the second
        // save must give the first one's text back byte for byte.
        const auto again = Clock::now();
        const bool ok = host.runCommandLine("mus") &&
                        host.documentManager().saveDocument(*document, (folder / "campus-saved-again.dxf").string(), error);
        std::fprintf(stderr, "again  %8.1f ms wall for mus and save on the current drawing%s; the second save is %s\n",
                     std::chrono::duration<double, std::milli>(Clock::now() - again).count(), ok ? "" : " FAILED",
                     compareFiles(saved, folder / "campus-saved-again.dxf").c_str());
        failures += ok ? 0 : 1;
    }
    cad::setOutputSink(nullptr);
    return failures == 0 ? 0 : 1;
}
