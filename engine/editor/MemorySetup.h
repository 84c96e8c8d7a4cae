#pragma once

namespace cad {

// The C library's tunables that ask for huge pages and take blocks up to 32 MB (the allocator's own
// ceiling for them) from that heap, rather than each from a mapping of its own in small pages. The
// launcher sets them as well, and includes this header for them alone.
inline constexpr const char* kLargePageTunable = "glibc.malloc.hugetlb";
inline constexpr const char* kLargePageSettings = "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=33554432";

// A drawing of tens of megabytes becomes hundreds of thousands of small allocations. On systems
// that give transparent huge pages only on request, the C library's allocator asks for them when
// its "glibc.malloc.hugetlb" tunable is set, which cuts the page faults of reading a large drawing
// several times over; blocks up to 32 MB are then taken from that heap too. The tunables are read
// at process start, so this sets them and executes the program again; it returns when there is
// nothing to gain, when BRINMO_SMALL_PAGES is set, or when the restart fails. Call it first thing
// in main, before any thread starts.
void restartWithLargePages(char** argv);

}  // namespace cad
