#include <gtest/gtest.h>

#include "engine/editor/SelectionInput.h"

using namespace cad;

// ALL, W, C, CP, a point and one handle, typed at a prompt, are in the selection transcripts.
TEST(SelectionInput, PointsInThreeDimensionsAndSeveralHandles) {
    std::string error;
    auto w = parseSelectionLine("W 0,0 10,5,1", error);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->mode, SelectionLine::Mode::Window);
    ASSERT_EQ(w->points.size(), 2u);
    EXPECT_EQ(w->points[1], Point3d(10, 5, 1));

    auto handles = parseSelectionLine("#2F1A 2f1b #C", error);
    ASSERT_TRUE(handles);
    EXPECT_EQ(handles->mode, SelectionLine::Mode::Handles);
    EXPECT_EQ(handles->handles, (std::vector<std::uint64_t>{0x2F1A, 0x2F1B, 0xC}));
}

TEST(SelectionInput, MistakesAreExplained) {
    std::string error;
    EXPECT_FALSE(parseSelectionLine("W 0,0", error));
    EXPECT_EQ(error, "Type W and two corners, e.g. W 0,0 10,10.");
    EXPECT_FALSE(parseSelectionLine("C 0,0 1,1 2,2", error));
    EXPECT_FALSE(parseSelectionLine("CP 0,0 1,1", error));
    EXPECT_EQ(error, "Type CP and three corners or more, e.g. CP 0,0 10,0 5,8.");
    EXPECT_FALSE(parseSelectionLine("W 0,0 x,1", error));
    EXPECT_EQ(error, "\"x,1\" is not a point: type x,y or x,y,z.");
    EXPECT_FALSE(parseSelectionLine("ALL 1", error));
    EXPECT_FALSE(parseSelectionLine("2F1A wall", error));
    EXPECT_EQ(error, "\"wall\" is neither a handle nor a selection mode (ALL, W, C, CP).");
    EXPECT_FALSE(parseSelectionLine("1,2,3,4", error));
    EXPECT_FALSE(parseSelectionLine("", error));
    EXPECT_EQ(parseHandleText("0"), std::nullopt);
    EXPECT_EQ(parseHandleText("#"), std::nullopt);
    EXPECT_EQ(parseHandleText("12345678901234567"), std::nullopt);
    EXPECT_EQ(parseHandleText("FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFull);
}
