#include <gtest/gtest.h>

#include "engine/dxf/DxfCodePage.h"

TEST(DxfCodePage, DecodesCodePageBytesAndEscapes) {
    const cad::DxfCodePage ansi("ANSI_1252", false);
    EXPECT_EQ(ansi.decode("plain"), "plain");
    EXPECT_EQ(ansi.decode("K\xF6ln \x80"), "K\xC3\xB6ln \xE2\x82\xAC");  // Köln €
    EXPECT_EQ(ansi.decode("\\U+00C4rger \\U+4E2D"), "\xC3\x84rger \xE4\xB8\xAD");
    EXPECT_EQ(ansi.decode("\\U+D83D\\U+DE00"), "\xF0\x9F\x98\x80");  // surrogate pair
    EXPECT_EQ(ansi.decode("\\U+12"), "\\U+12");                      // too short: kept
    EXPECT_EQ(ansi.decode("\\M+18140"), "\xE3\x80\x80");              // CP932 ideographic space
    const cad::DxfCodePage cyr("ANSI_1251", false);
    EXPECT_EQ(cyr.decode("\xC4\xE0"), "\xD0\x94\xD0\xB0");  // Да
    // From R2007 the bytes are UTF-8 already; escapes are still resolved.
    const cad::DxfCodePage utf8("ANSI_1252", true);
    EXPECT_EQ(utf8.decode("K\xC3\xB6ln \\U+00E9"), "K\xC3\xB6ln \xC3\xA9");
    const cad::DxfCodePage unknown("ANSI_9999", false);
    EXPECT_FALSE(unknown.known());
    EXPECT_EQ(unknown.decode("\xE9"), "\xC3\xA9");
}

TEST(DxfCodePage, EncodesForOldFilesWithEscapesWhereThePageLacksTheCharacter) {
    const cad::DxfCodePage ansi("ANSI_1252", false);
    EXPECT_EQ(ansi.encode("K\xC3\xB6ln \xE2\x82\xAC"), "K\xF6ln \x80");
    EXPECT_EQ(ansi.encode("\xE4\xB8\xAD"), "\\U+4E2D");
    EXPECT_EQ(ansi.encode("\xF0\x9F\x98\x80"), "\\U+D83D\\U+DE00");
    EXPECT_EQ(ansi.decode(ansi.encode("a\xE4\xB8\xAD\xC3\xB6")), "a\xE4\xB8\xAD\xC3\xB6");
    const cad::DxfCodePage utf8("ANSI_1252", true);
    EXPECT_EQ(utf8.encode("\xE4\xB8\xAD"), "\xE4\xB8\xAD");
}

// Control characters in values travel in caret notation ("^J" a line feed, "^ " a caret); a caret
// before anything else is some writer's plain caret and stays, as does every caret in a name.
TEST(DxfCodePage, CaretNotationIsReadAndWrittenInValues) {
    for (bool utf8File : {false, true}) {
        const cad::DxfCodePage page("ANSI_1252", utf8File);
        EXPECT_EQ(page.decodeValue("a^Jb^Ic^ d^3^@^_^"), std::string("a\nb\tc^d^3\0\x1F^", 12));
        EXPECT_EQ(page.encodeValue("a\nb\tc^d\xC3\xB6"), utf8File ? "a^Jb^Ic^ d\xC3\xB6" : "a^Jb^Ic^ d\xF6");
        const std::string all = std::string("\0\x01\x1F^ ^^J\r\n", 10);
        EXPECT_EQ(page.decodeValue(page.encodeValue(all)), all);
        EXPECT_EQ(page.decode("Layer^B"), "Layer^B");
        EXPECT_EQ(page.encode("Layer^B"), "Layer^B");
    }
    // A caret inside a double-byte character is no escape.
    const cad::DxfCodePage sjis("ANSI_932", false);
    EXPECT_EQ(sjis.decodeValue("\x83^J"), sjis.decodeValue("\x83^") + "J");
}

TEST(DxfCodePage, DoubleBytePagesKeepWhatTheyDefineAndWriteOnlyWhatReadsBack) {
    const cad::DxfCodePage sjis("ANSI_932", false);
    // A single-byte katakana before a lead byte the text ends on: the katakana is read as such,
    // only the lone lead byte is taken as Latin-1.
    EXPECT_EQ(sjis.decode("\xAC\x8E"), "\xEF\xBD\xAC\xC2\x8E");
    EXPECT_EQ(sjis.decode("\x82\xA0X"), "\xE3\x81\x82X");  // あX
    // The page writes U+00AC as bytes it reads as U+FFE2: escaped, it reads back as it was.
    for (const char* text : {"\xC2\xAC", "\xEF\xBD\xAC\xC2\x8E", "\xE3\x81\x82"})
        EXPECT_EQ(sjis.decode(sjis.encode(text)), text);
    EXPECT_EQ(sjis.encode("\xC2\xAC"), "\\U+00AC");
}
