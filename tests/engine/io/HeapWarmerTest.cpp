#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/io/HeapWarmer.h"

namespace {

// Pages of [from, to) the process has in memory.
std::size_t residentPages(std::uintptr_t from, std::uintptr_t to) {
    const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    from &= ~(page - 1);
    std::vector<unsigned char> in((to - from + page - 1) / page);
    if (::mincore(reinterpret_cast<void*>(from), to - from, in.data()) != 0) return 0;
    std::size_t n = 0;
    for (unsigned char c : in) n += c & 1;
    return n;
}

}  // namespace

TEST(HeapWarmer, FaultsInTheHeapTakenAheadOfUseAndChangesNothing) {
    // The heap taken 8 MB ahead of what is asked, as the launcher has it done.
    if (::mallopt(M_TOP_PAD, 8 << 20) != 1) GTEST_SKIP() << "this allocator takes no top pad (a sanitizer's?)";
    cad::HeapWarmer warmer;
    const auto before = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    std::vector<unsigned char*> blocks;
    while (reinterpret_cast<std::uintptr_t>(::sbrk(0)) == before && blocks.size() < 16384)
        blocks.push_back(static_cast<unsigned char*>(std::malloc(4096)));
    const auto end = reinterpret_cast<std::uintptr_t>(::sbrk(0));
    if (end == before) {
        for (unsigned char* b : blocks) std::free(b);
        ::mallopt(M_TOP_PAD, 128 * 1024);
        GTEST_SKIP() << "this allocator does not grow the heap with sbrk (a sanitizer's?)";
    }
    const std::uintptr_t page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const std::size_t pages = (end - before) / page;
    ASSERT_GE(pages, 1024u);
    EXPECT_GT(pages - residentPages(before, end), pages / 2);
    for (std::size_t k = 0; k < blocks.size(); ++k)
        for (std::size_t i = 0; i < 4096; i += 512) blocks[k][i] = static_cast<unsigned char>(k % 251 + 1);

    int steps = 0;
    while (warmer.step()) ++steps;
    EXPECT_GE(steps, 4);
    EXPECT_EQ(residentPages(before, end), pages);
    EXPECT_FALSE(warmer.step());
    bool kept = true;
    for (std::size_t k = 0; k < blocks.size(); ++k)
        for (std::size_t i = 0; i < 4096; i += 512) kept = kept && blocks[k][i] == k % 251 + 1;
    EXPECT_TRUE(kept);

    for (unsigned char* b : blocks) std::free(b);
    ::mallopt(M_TOP_PAD, 128 * 1024);
}
