// What touching new memory costs on this machine, in a fresh process each time as between two
// programs: the first write to every page of N MB in transparent huge pages right after a process
// used and freed as much, the same after the memory lay free for some seconds, and in small pages.
// Where the host keeps the memory a guest leaves free, the first two are alike; on some virtual
// machines the host takes back memory left free for a few seconds, and the second costs twenty
// times the first: what separates brinmo's first run after another program from its next one.
// Usage: bench_pages [MB [IDLE_SECONDS [RUNS]]]   defaults: 112 (the campus PDF's heap) 5 5
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/Median.h"

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds a new process takes to write one byte of every 4 KB of `mb` MB it maps, or nothing
// when it could not run or map.
std::optional<double> touchInChild(std::size_t mb, bool huge) {
    int fds[2];
    if (pipe(fds) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(fds[0]);
        const std::size_t bytes = mb << 20;
        void* map = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        double ms = -1;
        if (map != MAP_FAILED) {
            madvise(map, bytes, huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
            auto* bytesAt = static_cast<volatile char*>(map);
            const auto start = Clock::now();
            for (std::size_t i = 0; i < bytes; i += 4096) bytesAt[i] = 1;
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
        const bool sent = write(fds[1], &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms);
        _exit(sent && ms >= 0 ? 0 : 1);
    }
    close(fds[1]);
    double ms = -1;
    const bool got = read(fds[0], &ms, sizeof ms) == static_cast<ssize_t>(sizeof ms);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!got || ms < 0) return std::nullopt;
    return ms;
}

std::string hugePageMode() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    std::getline(in, line);
    return line.empty() ? "unknown" : line;
}

}  // namespace

int main(int argc, char** argv) {
    const long mb = argc > 1 ? std::atol(argv[1]) : 112;
    const long idle = argc > 2 ? std::atol(argv[2]) : 5;
    const long runs = argc > 3 ? std::atol(argv[3]) : 5;
    if (mb < 1 || mb > 65536 || idle < 0 || idle > 600 || runs < 1 || runs > 99) {
        std::fprintf(stderr, "usage: bench_pages [MB (1-65536) [IDLE_SECONDS (0-600) [RUNS (1-99)]]]\n");
        return 2;
    }
    std::printf("first write to every page of %ld MB, in a new process; medians of %ld runs\n", mb, runs);
    std::printf("transparent huge pages: %s\n", hugePageMode().c_str());
    std::vector<double> warm, rested, small;
    for (long r = 0; r < runs; ++r) {
        // The first child leaves freed huge pages behind for the second to take.
        const auto primed = touchInChild(static_cast<std::size_t>(mb), true);
        const auto again = touchInChild(static_cast<std::size_t>(mb), true);
        std::this_thread::sleep_for(std::chrono::seconds(idle));
        const auto afterIdle = touchInChild(static_cast<std::size_t>(mb), true);
        const auto smallPages = touchInChild(static_cast<std::size_t>(mb), false);
        if (!primed || !again || !afterIdle || !smallPages) {
            std::fprintf(stderr, "bench_pages: a child process could not run or map %ld MB\n", mb);
            return 1;
        }
        warm.push_back(*again);
        rested.push_back(*afterIdle);
        small.push_back(*smallPages);
    }
    const auto line = [&](const char* what, const std::vector<double>& ms) {
        const double m = median(ms);
        std::printf("%-44s %8.1f ms  %6.2f ms per MB\n", what, m, m / static_cast<double>(mb));
    };
    line("huge pages, freed by a process just before:", warm);
    const std::string restedLabel = "huge pages, after " + std::to_string(idle) + " s with the memory free:";
    line(restedLabel.c_str(), rested);
    line("small pages:", small);
    std::printf("after the pause / just after: %.1fx\n", median(rested) / std::max(median(warm), 0.01));
    return 0;
}
