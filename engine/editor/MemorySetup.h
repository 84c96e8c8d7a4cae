#pragma once

namespace cad {

// A drawing of tens of megabytes becomes hundreds of thousands of small allocations. The C
// library's allocator takes them from huge pages when its "glibc.malloc.hugetlb" tunable asks for
// them (LargePages.h says which kind), which cuts the page faults of reading a large drawing several
// times over. The tunables are read at process start, so this sets them and executes the program
// again; it returns when there is nothing to gain, when BRINMO_SMALL_PAGES is set, when the
// environment already names a huge-page setting, or when the restart fails. Call it first thing
// in main, before any thread starts.
void restartWithLargePages(char** argv);

}  // namespace cad
