#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/editor/LargePages.h"

namespace {

std::string meminfo(int freePages, int claimedPages, int pageKb = 2048) {
    // The pool's lines among others, one of them ending in a look-alike key.
    return "MemTotal:       24683740 kB\n"
           "AnonHugePages:         0 kB\n"
           "HugePages_Total:     " + std::to_string(freePages + 40) + "\n"
           "HugePages_Free:      " + std::to_string(freePages) + "\n"
           "HugePages_Rsvd:      " + std::to_string(claimedPages) + "\n"
           "HugePages_Surp:        0\n"
           "Hugepagesize:       " + std::to_string(pageKb) + " kB\n"
           "Hugetlb:          327680 kB\n";
}

constexpr std::uint64_t MB = 1 << 20;

}  // namespace

TEST(LargePages, PoolFreeIsWhatNoProcessHasClaimed) {
    using cad::reservedPoolAvailable;
    EXPECT_EQ(reservedPoolAvailable(meminfo(160, 0).c_str()), 320 * MB);
    EXPECT_EQ(reservedPoolAvailable(meminfo(160, 40).c_str()), 240 * MB);
    EXPECT_EQ(reservedPoolAvailable(meminfo(10, 10).c_str()), 0u);
    EXPECT_EQ(reservedPoolAvailable(meminfo(4, 0, 1048576).c_str()), 4096 * MB);
    // A pool key only counts at the start of a line; a system without the lines has no pool.
    EXPECT_EQ(reservedPoolAvailable("XHugePages_Free: 999\nHugepagesize: 2048 kB\n"), 0u);
    EXPECT_EQ(reservedPoolAvailable(""), 0u);
}

TEST(LargePages, PoolOnlyWhenItHoldsTheDrawingElseTransparentPagesOnRequest) {
    using cad::chooseLargePageSettings;
    using cad::kReservedPageSettings;
    using cad::kTransparentPageSettings;
    const char* onRequest = "always [madvise] never";
    const std::string big = meminfo(160, 0);  // 320 MB free
    EXPECT_STREQ(chooseLargePageSettings(big.c_str(), onRequest, 0, false), kReservedPageSettings);
    EXPECT_STREQ(chooseLargePageSettings(big.c_str(), onRequest, 100 * MB, false), kReservedPageSettings);
    // Three times the drawing no longer fits, or others have claimed too much of it: the pool
    // would run dry part way, so transparent pages instead.
    EXPECT_STREQ(chooseLargePageSettings(big.c_str(), onRequest, 110 * MB, false), kTransparentPageSettings);
    EXPECT_STREQ(chooseLargePageSettings(meminfo(160, 40).c_str(), onRequest, 0, false), kTransparentPageSettings);
    // Below the minimum even for a small drawing.
    EXPECT_STREQ(chooseLargePageSettings(meminfo(127, 0).c_str(), onRequest, 1 * MB, false), kTransparentPageSettings);
    EXPECT_STREQ(chooseLargePageSettings(meminfo(128, 0).c_str(), onRequest, 1 * MB, false), kReservedPageSettings);
    // Asked to leave the pool alone.
    EXPECT_STREQ(chooseLargePageSettings(big.c_str(), onRequest, 0, true), kTransparentPageSettings);
    // Transparent pages given to every process anyway, or to none: nothing to ask for.
    EXPECT_EQ(chooseLargePageSettings(meminfo(0, 0).c_str(), "[always] madvise never", 0, false), nullptr);
    EXPECT_EQ(chooseLargePageSettings(meminfo(0, 0).c_str(), "always madvise [never]", 0, false), nullptr);
    EXPECT_EQ(chooseLargePageSettings("", "", 0, false), nullptr);
    // The pool does not depend on transparent pages being on.
    EXPECT_STREQ(chooseLargePageSettings(big.c_str(), "always madvise [never]", 0, false), kReservedPageSettings);
}
