#pragma once

namespace cad {

// A drawing of tens of megabytes becomes hundreds of thousands of small allocations. On systems
// that give transparent huge pages only on request, the C library's allocator asks for them when
// its "glibc.malloc.hugetlb" tunable is set, which cuts the page faults of reading a large drawing
// several times over; blocks up to 32 MB are then taken from that heap too. The tunables are read
// at process start, so this sets them and executes the program again; it returns when there is
// nothing to gain, when BRINMO_SMALL_PAGES is set, or when the restart fails. Call it first thing
// in main, before any thread starts.
void restartWithLargePages(char** argv);

}  // namespace cad
