#include "engine/editor/MemorySetup.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "engine/editor/LargePages.h"

namespace cad {

void restartWithLargePages(char** argv) {
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string tunables = current ? current : "";
    if (tunables.find(kLargePageTunable) != std::string::npos) return;
    if (argv == nullptr || argv[0] == nullptr) return;
    const char* settings = largePageSettingsForThisSystem(argv);
    if (settings == nullptr) return;
    const std::string wanted = (tunables.empty() ? "" : tunables + ":") + settings;
    if (setenv("GLIBC_TUNABLES", wanted.c_str(), 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Could not run again: carry on with ordinary pages, and do not leave the setting to children.
    if (current) setenv("GLIBC_TUNABLES", current, 1);
    else unsetenv("GLIBC_TUNABLES");
}

}  // namespace cad
