#include <gtest/gtest.h>

#include "engine/editor/Wildcard.h"

using cad::wildcardMatch;

TEST(Wildcard, StarQuestionAndLiterals) {
    EXPECT_TRUE(wildcardMatch("ROOM-12", "ROOM-*"));
    EXPECT_TRUE(wildcardMatch("ROOM-", "ROOM-*"));
    EXPECT_FALSE(wildcardMatch("ROOM", "ROOM-*"));
    EXPECT_TRUE(wildcardMatch("abc", "a?c"));
    EXPECT_FALSE(wildcardMatch("ac", "a?c"));
    EXPECT_TRUE(wildcardMatch("anything", "*"));
    EXPECT_TRUE(wildcardMatch("", "*"));
    EXPECT_FALSE(wildcardMatch("", "?"));
    EXPECT_TRUE(wildcardMatch("a*b", "*`**"));   // escaped star in the middle
    EXPECT_FALSE(wildcardMatch("ab", "*`**"));
    EXPECT_TRUE(wildcardMatch("x,y", "x`,y"));
    EXPECT_TRUE(wildcardMatch("ABCXYZ", "A*X*Z"));
    EXPECT_FALSE(wildcardMatch("ABCXY", "A*X*Z"));
    // Plain names: whole text, case as asked.
    EXPECT_TRUE(wildcardMatch("insert", "INSERT", true));
    EXPECT_FALSE(wildcardMatch("insert", "INSERT", false));
    EXPECT_FALSE(wildcardMatch("INSERTS", "INSERT", true));
    EXPECT_FALSE(wildcardMatch("INSER", "INSERT", true));
    EXPECT_TRUE(wildcardMatch("ROOM-1 A", "ROOM-1 A"));
}

TEST(Wildcard, CharacterClasses) {
    EXPECT_TRUE(wildcardMatch("R1", "R#"));
    EXPECT_FALSE(wildcardMatch("RA", "R#"));
    EXPECT_TRUE(wildcardMatch("RA", "R@"));
    EXPECT_FALSE(wildcardMatch("R1", "R@"));
    EXPECT_TRUE(wildcardMatch("R-", "R."));
    EXPECT_FALSE(wildcardMatch("Rx", "R."));
    EXPECT_FALSE(wildcardMatch("R5", "R."));
    EXPECT_TRUE(wildcardMatch("cat", "[bc]at"));
    EXPECT_FALSE(wildcardMatch("rat", "[bc]at"));
    EXPECT_TRUE(wildcardMatch("rat", "[~bc]at"));
    EXPECT_FALSE(wildcardMatch("bat", "[~bc]at"));
    EXPECT_TRUE(wildcardMatch("m7", "[a-z][0-9]"));
    EXPECT_FALSE(wildcardMatch("M7", "[a-z][0-9]"));
    EXPECT_TRUE(wildcardMatch("]x", "[]]x"));  // a bracket first in the set is a member
    EXPECT_TRUE(wildcardMatch("[x", "[x"));    // unclosed bracket is literal
}

TEST(Wildcard, AlternativesAndNegation) {
    EXPECT_TRUE(wildcardMatch("LINE", "CIRCLE,LINE"));
    EXPECT_TRUE(wildcardMatch("CIRCLE", "CIRCLE,LINE"));
    EXPECT_FALSE(wildcardMatch("ARC", "CIRCLE,LINE"));
    EXPECT_TRUE(wildcardMatch(",", "[,]"));  // a comma inside a set does not split
    EXPECT_TRUE(wildcardMatch("WALL", "~ROOM-*"));
    EXPECT_FALSE(wildcardMatch("ROOM-3", "~ROOM-*"));
    EXPECT_TRUE(wildcardMatch("ROOM-3", "~ROOM-*,ROOM-3"));  // each alternative on its own
    EXPECT_FALSE(wildcardMatch("", "~*"));
}

TEST(Wildcard, LetterCase) {
    EXPECT_FALSE(wildcardMatch("room-1", "ROOM-*"));
    EXPECT_TRUE(wildcardMatch("room-1", "ROOM-*", true));
    EXPECT_TRUE(wildcardMatch("Lwpolyline", "LWPOLY[K-M]*", true));
}
