#include <gtest/gtest.h>

#include "engine/text/AsciiText.h"

using namespace cad;

TEST(AsciiText, TrimsOnlyTheBlanksAskedFor) {
    EXPECT_EQ(trimBlanks("  \tROOM-1 \t"), "ROOM-1");
    EXPECT_EQ(trimBlanks(" \t "), "");
    EXPECT_EQ(trimBlanks(""), "");
    EXPECT_EQ(trimBlanks("a b"), "a b");                   // inner blanks stay
    EXPECT_EQ(trimBlanks("x\r\n"), "x\r\n");               // a typed line keeps what is not a blank
    EXPECT_EQ(trimBlanks("\fx\r\n", kAllBlanks), "x");
}

TEST(AsciiText, CaseFoldingLeavesUtf8Alone) {
    // Names in Finnish drawings hold UTF-8; folding them byte by byte in a locale would break them.
    EXPECT_EQ(toUpperAscii("huone-ä1"), "HUONE-ä1");
    EXPECT_TRUE(equalsNoCase("Korva_Layer", "KORVA_LAYER"));
    EXPECT_FALSE(equalsNoCase("ä", "Ä"));
    EXPECT_FALSE(equalsNoCase("abc", "abcd"));
}
