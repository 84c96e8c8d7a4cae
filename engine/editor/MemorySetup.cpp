#include "engine/editor/MemorySetup.h"

#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "engine/editor/LargePages.h"

namespace cad {

void restartWithLargePages(char** argv) {
    if (argv == nullptr || argv[0] == nullptr) return;
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::optional<std::string> previous = current ? std::optional<std::string>(current) : std::nullopt;
    if (!askForLargePages(argv)) return;
    execv("/proc/self/exe", argv);
    // Could not run again: carry on with ordinary pages, and do not leave the setting to children.
    if (previous) setenv("GLIBC_TUNABLES", previous->c_str(), 1);
    else unsetenv("GLIBC_TUNABLES");
}

}  // namespace cad
