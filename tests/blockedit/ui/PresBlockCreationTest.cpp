#include <gtest/gtest.h>

#include "ui/PresBlockCreation.h"

TEST(PresBlockCreation, NextNameCountsOnFromTheTrailingNumberKeepingItsWidth) {
    struct Case {
        const char* name;
        int increment;
        const char* next;
    };
    for (const Case& c : {Case{"Room ", 1, "Room 1"}, Case{"Room 09", 1, "Room 10"}, Case{"A-099", 1, "A-100"},
                          Case{"B1.5", 1, "B1.6"}, Case{"Lab 7", 2, "Lab 9"}, Case{"Office 12", 1, "Office 13"},
                          Case{"0099", 1, "0100"}, Case{"Room", 1, "Room1"}, Case{"", 1, "1"},
                          Case{"Lab 10", -1, "Lab 09"}, Case{"B1.", 1, "B1.1"}}) {
        EXPECT_EQ(CPresBlockCreation::incrementName(c.name, c.increment), c.next) << c.name;
    }
    std::string prefix;
    EXPECT_EQ(CPresBlockCreation::splitTrailingDigits("L1-036", prefix), "036");
    EXPECT_EQ(prefix, "L1-");
    EXPECT_EQ(CPresBlockCreation::splitTrailingDigits("Store", prefix), "");
    EXPECT_EQ(prefix, "Store");
}
