#include <gtest/gtest.h>

#include "engine/editor/Wildcard.h"

using cad::wildcardMatch;

TEST(Wildcard, StarsClassesAlternativesNegationAndCase) {
    struct Case {
        const char* text;
        const char* pattern;
        bool ignoreCase;
        bool matches;
    };
    const Case cases[] = {
        // Star, question mark and escaped literals (an escaped star in the middle, a comma).
        {"ROOM-12", "ROOM-*", false, true}, {"ROOM-", "ROOM-*", false, true},
        {"ROOM", "ROOM-*", false, false},
        {"abc", "a?c", false, true}, {"ac", "a?c", false, false}, {"anything", "*", false, true},
        {"", "*", false, true}, {"", "?", false, false}, {"x,y", "x`,y", false, true},
        {"a*b", "*`**", false, true}, {"ab", "*`**", false, false}, {"ABCXYZ", "A*X*Z", false, true},
        {"ABCXY", "A*X*Z", false, false},
        // Plain names: the whole text, case as asked.
        {"insert", "INSERT", true, true}, {"insert", "INSERT", false, false},
        {"INSER", "INSERT", true, false},
        {"INSERTS", "INSERT", true, false}, {"ROOM-1 A", "ROOM-1 A", false, true},
        {"room-1", "ROOM-*", false, false}, {"room-1", "ROOM-*", true, true},
        {"Lwpolyline", "LWPOLY[K-M]*", true, true},
        // Digits, letters, other characters and sets; a bracket first in a set is a member, an
        // unclosed one is literal.
        {"R1", "R#", false, true}, {"RA", "R#", false, false}, {"RA", "R@", false, true},
        {"R1", "R@", false, false}, {"R-", "R.", false, true}, {"Rx", "R.", false, false},
        {"R5", "R.", false, false}, {"cat", "[bc]at", false, true}, {"rat", "[bc]at", false, false},
        {"rat", "[~bc]at", false, true}, {"bat", "[~bc]at", false, false}, {"m7", "[a-z][0-9]", false, true},
        {"M7", "[a-z][0-9]", false, false}, {"]x", "[]]x", false, true}, {"[x", "[x", false, true},
        // Alternatives, each on its own (a comma inside a set does not split), and negation.
        {"LINE", "CIRCLE,LINE", false, true}, {"CIRCLE", "CIRCLE,LINE", false, true},
        {"ARC", "CIRCLE,LINE", false, false}, {",", "[,]", false, true}, {"WALL", "~ROOM-*", false, true},
        {"ROOM-3", "~ROOM-*", false, false}, {"ROOM-3", "~ROOM-*,ROOM-3", false, true},
        {"", "~*", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(wildcardMatch(c.text, c.pattern, c.ignoreCase), c.matches)
            << "'" << c.text << "' against '" << c.pattern << "'" << (c.ignoreCase ? ", any case" : "");
}
