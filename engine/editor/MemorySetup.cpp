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
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = current ? current : "";
    if (tunables.find(kLargePageTunable) != std::string::npos) return;
    if (std::getenv("BRINMO_SMALL_PAGES") != nullptr) return;
    if (argv == nullptr || argv[0] == nullptr || !hugePagesOnRequestOnly()) return;
    const std::string wanted = (tunables.empty() ? "" : tunables + ":") + kLargePageSettings;
    if (setenv("GLIBC_TUNABLES", wanted.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Could not run again: carry on with ordinary pages, and do not leave the setting to children.
    if (current) setenv("GLIBC_TUNABLES", current, 1);
    else unsetenv("GLIBC_TUNABLES");
}

}  // namespace cad
