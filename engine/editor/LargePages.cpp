#include "engine/editor/LargePages.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace cad {

namespace {

// The number after `key` ("HugePages_Free:") at the start of a line; 0 when there is none.
std::uint64_t meminfoValue(const char* meminfo, const char* key) {
    const std::size_t length = std::strlen(key);
    for (const char* at = std::strstr(meminfo, key); at != nullptr; at = std::strstr(at + 1, key))
        if (at == meminfo || at[-1] == '\n') return std::strtoull(at + length, nullptr, 10);
    return 0;
}

void readSmallFile(const char* path, char* buffer, std::size_t size) {
    buffer[0] = '\0';
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) return;
    const std::size_t n = std::fread(buffer, 1, size - 1, f);
    buffer[n] = '\0';
    std::fclose(f);
}

std::uint64_t largestFileArgument(char** argv) {
    std::uint64_t largest = 0;
    for (int i = 1; argv != nullptr && argv[0] != nullptr && argv[i] != nullptr; ++i) {
        struct stat st {};
        if (::stat(argv[i], &st) == 0 && S_ISREG(st.st_mode) && static_cast<std::uint64_t>(st.st_size) > largest)
            largest = static_cast<std::uint64_t>(st.st_size);
    }
    return largest;
}

}  // namespace

std::uint64_t reservedPoolAvailable(const char* meminfo) {
    const std::uint64_t free = meminfoValue(meminfo, "HugePages_Free:");
    const std::uint64_t claimed = meminfoValue(meminfo, "HugePages_Rsvd:");
    const std::uint64_t pageKb = meminfoValue(meminfo, "Hugepagesize:");
    return free > claimed ? (free - claimed) * pageKb * 1024 : 0;
}

const char* chooseLargePageSettings(const char* meminfo, const char* thpModes, std::uint64_t largestDrawing,
                                    bool transparentOnly) {
    const std::uint64_t wanted = largestDrawing > kReservedPoolMinimum / 3 ? 3 * largestDrawing : kReservedPoolMinimum;
    if (!transparentOnly && reservedPoolAvailable(meminfo) >= wanted) return kReservedPageSettings;
    return std::strstr(thpModes, "[madvise]") != nullptr ? kTransparentPageSettings : nullptr;
}

bool askForLargePages(char** argv) {
    const char* current = std::getenv("GLIBC_TUNABLES");
    if (current != nullptr && std::strstr(current, kLargePageTunable) != nullptr) return false;
    if (std::getenv("BRINMO_SMALL_PAGES") != nullptr) return false;
    char meminfo[8192];
    char modes[256];
    readSmallFile("/proc/meminfo", meminfo, sizeof meminfo);
    readSmallFile("/sys/kernel/mm/transparent_hugepage/enabled", modes, sizeof modes);
    const char* settings = chooseLargePageSettings(meminfo, modes, largestFileArgument(argv),
                                                   std::getenv("BRINMO_TRANSPARENT_PAGES") != nullptr);
    if (settings == nullptr) return false;
    char wanted[4096];
    const int n = current != nullptr && *current != '\0'
                      ? std::snprintf(wanted, sizeof wanted, "%s:%s", current, settings)
                      : std::snprintf(wanted, sizeof wanted, "%s", settings);
    return n > 0 && static_cast<std::size_t>(n) < sizeof wanted && setenv("GLIBC_TUNABLES", wanted, 1) == 0;
}

}  // namespace cad
