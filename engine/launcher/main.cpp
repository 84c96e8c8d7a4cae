// `brinmo`: starts the host program (brinmo-host, beside it) with the C library's allocator asking
// for huge pages: from the pool the administrator reserved when it has room, else transparent ones
// where the system hands them out only on request (LargePages.h). The allocator reads
// that setting at start only, and the host loads a few dozen libraries before its main runs: set
// here, in a program that loads nothing, it costs the host no second start.
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/editor/LargePages.h"

namespace {

constexpr const char* kHost = "brinmo-host";

}  // namespace

int main(int, char** argv) {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::fprintf(stderr, "brinmo: cannot find the folder it was started from: %s\n", std::strerror(errno));
        return 127;
    }
    self[length] = '\0';
    char* slash = std::strrchr(self, '/');
    char host[PATH_MAX];
    const int n = std::snprintf(host, sizeof host, "%.*s/%s", static_cast<int>(slash - self), self, kHost);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof host) {
        std::fprintf(stderr, "brinmo: the path of %s is too long\n", kHost);
        return 127;
    }
    cad::askForLargePages(argv);
    execv(host, argv);
    std::fprintf(stderr, "brinmo: cannot run %s: %s\n", host, std::strerror(errno));
    return 127;
}
