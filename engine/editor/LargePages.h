#pragma once
#include <cstdint>

// What the C library's allocator is asked for at start. Shared by the launcher, which links
// nothing but the C library, and the host's own restart: plain C calls only.
namespace cad {

// The tunables. Blocks up to 32 MB (the allocator's own ceiling for them) come from the huge-page
// heap too, rather than each from a mapping of its own in small pages.
inline constexpr const char* kLargePageTunable = "glibc.malloc.hugetlb";
// Transparent huge pages, where the system hands them out on request only; the heap is taken
// 4 MB ahead of use, so that a waiting thread can fault it in (HeapWarmer). Faulted in ahead and
// not yet used is resident all the same: 16 MB ahead gained a cold read no more and cost opening
// and saving the campus 11 MB of peak memory, 4 MB costs it about 3.
inline constexpr const char* kTransparentPageSettings =
    "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=33554432:glibc.malloc.top_pad=4194304";
// Pages of the huge-page pool the administrator reserved (vm.nr_hugepages).
inline constexpr const char* kReservedPageSettings = "glibc.malloc.hugetlb=2:glibc.malloc.mmap_threshold=33554432";

// A pool that runs dry part way leaves the rest of the heap in small pages, slower than
// transparent huge pages throughout: the pool is used only with this much free, and three times
// the largest drawing (what reading and drawing one takes, with room to spare).
inline constexpr std::uint64_t kReservedPoolMinimum = std::uint64_t{256} << 20;

// Bytes of the reserved pool no process has claimed yet, from /proc/meminfo's text.
std::uint64_t reservedPoolAvailable(const char* meminfo);

// The settings to start with, or nullptr for none. `thpModes` is the first line of
// /sys/kernel/mm/transparent_hugepage/enabled; `largestDrawing` the size of the largest file the
// command line names; `transparentOnly` leaves the pool alone.
const char* chooseLargePageSettings(const char* meminfo, const char* thpModes, std::uint64_t largestDrawing,
                                    bool transparentOnly);

// Adds to GLIBC_TUNABLES the settings chosen from the running system, for a program about to
// start: true when it did. Nothing when the variable already names a huge-page setting, when
// BRINMO_SMALL_PAGES is set or when nothing is to be gained; BRINMO_TRANSPARENT_PAGES leaves the
// pool alone.
bool askForLargePages(char** argv);

}  // namespace cad
