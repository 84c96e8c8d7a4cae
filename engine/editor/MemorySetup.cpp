#include "engine/editor/MemorySetup.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace cad {

namespace {

bool hugePagesOnRequestOnly() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    std::getline(in, modes);
    return modes.find("[madvise]") != std::string::npos;
}

}  // namespace

void restartWithLargePages(char** argv) {
    constexpr const char* kTunable = "glibc.malloc.hugetlb";
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = current ? current : "";
    if (tunables.find(kTunable) != std::string::npos) return;
    if (std::getenv("BRINMO_SMALL_PAGES") != nullptr) return;
    if (argv == nullptr || argv[0] == nullptr || !hugePagesOnRequestOnly()) return;
    // Blocks up to 32 MB (the allocator's own ceiling for them) come from the heap, and so from
    // huge pages, rather than each from a mapping of its own in small pages.
    const std::string wanted =
        (tunables.empty() ? "" : tunables + ":") + kTunable + "=1:glibc.malloc.mmap_threshold=33554432";
    if (setenv("GLIBC_TUNABLES", wanted.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Could not run again: carry on with ordinary pages, and do not leave the setting to children.
    if (current) setenv("GLIBC_TUNABLES", current, 1);
    else unsetenv("GLIBC_TUNABLES");
}

}  // namespace cad
