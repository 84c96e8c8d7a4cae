#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/db/Color.h"

TEST(Color, IndexZeroAndTwoFiftySixAreByBlockAndByLayer) {
    EXPECT_TRUE(cad::Color::fromIndex(0).isByBlock());
    EXPECT_TRUE(cad::Color::fromIndex(256).isByLayer());
    EXPECT_THROW(cad::Color::fromIndex(257), std::out_of_range);
    EXPECT_THROW(cad::Color::fromIndex(-1), std::out_of_range);
}

TEST(Color, TrueColourKeepsComponentsAndFindsNearestIndex) {
    auto c = cad::Color::fromTrueColorValue(0xFF0010);
    EXPECT_TRUE(c.isTrueColor());
    EXPECT_EQ(c.red(), 255);
    EXPECT_EQ(c.green(), 0);
    EXPECT_EQ(c.blue(), 16);
    EXPECT_EQ(c.trueColorValue(), 0xFF0010u);
    EXPECT_EQ(c.colorIndex(), 1);  // nearest to pure red
    EXPECT_EQ(cad::Color::fromRgb(255, 255, 255).colorIndex(), 7);
    EXPECT_EQ(cad::Color::fromIndex(5).blue(), 255);
}
