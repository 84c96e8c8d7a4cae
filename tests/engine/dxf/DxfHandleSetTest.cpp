#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

#include "engine/dxf/tags/DxfHandleSet.h"

// The set answers as an ordered set does, on both sides of where bits give way to a list: dense
// runs as files number their records, repeats, scattered large handles and the edges of the bits.
TEST(DxfHandleSet, AnswersAsAnOrderedSetOnBothSidesOfTheDenseLimit) {
    constexpr std::uint64_t dense = cad::DxfHandleSet::kDense;
    std::mt19937_64 random(8122026);
    for (int round = 0; round < 4; ++round) {
        cad::DxfHandleSet set;
        std::set<std::uint64_t> expected;
        bool repeatedLarge = false;
        std::vector<std::uint64_t> values = {1, 63, 64, 65, dense - 1, dense, dense + 1, (std::uint64_t{1} << 62) - 1};
        for (std::uint64_t h = 0x100; h < 0x100 + 5000; ++h) values.push_back(h);
        for (int i = 0; i < 3000; ++i) values.push_back(1 + random() % (round < 2 ? 100000 : dense * 4));
        if (round % 2 == 1) values.insert(values.end(), {dense + 12345, dense + 12345, 0x200, 0x200});
        std::shuffle(values.begin(), values.end(), random);
        for (const std::uint64_t h : values) {
            const bool fresh = expected.insert(h).second;
            const bool inserted = set.insert(h);
            if (h < dense) EXPECT_EQ(inserted, fresh) << h;
            else repeatedLarge = repeatedLarge || !fresh;
        }
        EXPECT_EQ(set.finish(), !repeatedLarge);
        for (const std::uint64_t h : values) EXPECT_TRUE(set.contains(h)) << h;
        for (int i = 0; i < 20000; ++i) {
            const std::uint64_t probe = random() % (i % 2 ? 200000 : dense * 8);
            ASSERT_EQ(set.contains(probe), expected.count(probe) == 1) << probe;
        }
        EXPECT_FALSE(set.contains(0));
    }
}
