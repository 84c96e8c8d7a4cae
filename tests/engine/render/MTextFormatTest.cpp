// Inline formatting of multi-line texts: what each code does to the runs and their settings.
#include <gtest/gtest.h>

#include "engine/render/MTextFormat.h"
#include "engine/render/TextCodes.h"

using namespace cad;

namespace {

// Stacks read "[upper|lower]".
std::string plain(const MTextParagraph& p) {
    std::string out;
    for (const MTextRun& r : p.runs) out += r.stack ? "[" + r.text + r.stack + r.below + "]" : r.text;
    return out;
}

}  // namespace

TEST(MTextFormat, ParagraphsEscapesAndStackedFractions) {
    const auto ps = parseMText("A\\Pb\\~c\\\\d\\{e\\}\\P1\\S1^2; and \\S3#4;\\P%%d\\U+00B1", 1.0);
    ASSERT_EQ(ps.size(), 4u);
    EXPECT_EQ(plain(ps[0]), "A");
    EXPECT_EQ(plain(ps[1]), "b c\\d{e}");
    EXPECT_EQ(plain(ps[2]), "1[1^2] and [3#4]");
    EXPECT_EQ(plain(ps[3]), "\xC2\xB0\xC2\xB1");
    // Caret notation as files write it; a single line shows a tab or line end as a space.
    EXPECT_EQ(plain(parseMText("2^ 3^Ia^2", 1.0)[0]), "2^3 a^2");
    EXPECT_EQ(cad::decodeTextCodes("a\tb\r\nc"), "a b  c");
    // Settings it does not apply are read past, with their values.
    EXPECT_EQ(plain(parseMText("\\A1;\\Q15;\\T1.2;\\pxi-3,l3;un\\Lder", 1.0)[0]), "under");
    // A stack keeps the settings in force and ends its run; a caret written "^ " loses its space.
    const auto stacked = parseMText("{\\C1;\\L5\\S+0.1^ -0.2;}mm\\S3;", 2.0)[0].runs;
    ASSERT_EQ(stacked.size(), 3u);
    EXPECT_EQ(stacked[1].stack, '^');
    EXPECT_EQ(stacked[1].text + "|" + stacked[1].below, "+0.1|-0.2");
    EXPECT_TRUE(stacked[1].underline && stacked[1].color == Color::fromIndex(1));
    EXPECT_EQ(stacked[2].text, "mm3") << "a stack without a split is plain text";
    EXPECT_FALSE(stacked[2].underline);
}

TEST(MTextFormat, LinesOverAndThroughRunUntilTheirEndCode) {
    const auto r = parseMText("a\\Lb\\Oc\\ld\\Ke\\o\\kf", 1.0)[0].runs;
    ASSERT_EQ(r.size(), 6u);
    const auto flags = [](const MTextRun& x) {
        return std::string(x.underline ? "u" : "") + (x.overline ? "o" : "") + (x.strikeout ? "k" : "");
    };
    EXPECT_EQ(flags(r[0]) + "," + flags(r[1]) + "," + flags(r[2]) + "," + flags(r[3]) + "," + flags(r[4]) + "," +
                  flags(r[5]),
              ",u,uo,o,ok,");
}

TEST(MTextFormat, GroupsSetHeightColourWidthAndFontUntilTheyClose) {
    const auto ps = parseMText("x{\\H2x;\\C1;big}y\\H3;z{\\W0.5;\\fArial|b1|i0;n}{\\Fromans.shx;\\c65280;g}", 1.5);
    ASSERT_EQ(ps.size(), 1u);
    const auto& r = ps[0].runs;
    ASSERT_EQ(r.size(), 6u);
    EXPECT_EQ(r[0].text, "x");
    EXPECT_DOUBLE_EQ(r[0].height, 1.5);
    EXPECT_FALSE(r[0].color.has_value());
    EXPECT_EQ(r[1].text, "big");
    EXPECT_DOUBLE_EQ(r[1].height, 3.0) << "\\H2x is twice the height in force";
    ASSERT_TRUE(r[1].color.has_value());
    EXPECT_EQ(*r[1].color, Color::fromIndex(1));
    EXPECT_EQ(r[2].text, "y");
    EXPECT_DOUBLE_EQ(r[2].height, 1.5) << "the group's settings end with it";
    EXPECT_FALSE(r[2].color.has_value());
    EXPECT_EQ(r[3].text, "z");
    EXPECT_DOUBLE_EQ(r[3].height, 3.0) << "\\H3; is absolute";
    EXPECT_EQ(r[4].text, "n");
    EXPECT_DOUBLE_EQ(r[4].widthFactor, 0.5);
    EXPECT_EQ(r[4].font, "Arial.ttf");
    EXPECT_EQ(r[5].text, "g");
    EXPECT_EQ(r[5].font, "romans.shx");
    ASSERT_TRUE(r[5].color.has_value());
    EXPECT_EQ(*r[5].color, Color::fromTrueColorValue(65280));
}

TEST(MTextFormat, MalformedCodesNeitherCrashNorChangeSettings) {
    const auto a = parseMText("\\H;a\\Hxyz;b\\W-2;c\\C999;d", 2.0);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(a[0].runs.size(), 1u);
    EXPECT_EQ(a[0].runs[0].text, "abcd");
    EXPECT_DOUBLE_EQ(a[0].runs[0].height, 2.0);
    EXPECT_DOUBLE_EQ(a[0].runs[0].widthFactor, 1.0);
    // Unclosed groups, a stray closing brace, a code cut off at the end.
    EXPECT_EQ(plain(parseMText("}{{\\H2x;abc", 1.0)[0]), "abc");
    EXPECT_EQ(plain(parseMText("abc\\", 1.0)[0]), "abc\\");
    EXPECT_EQ(plain(parseMText("abc\\H2", 1.0)[0]), "abc");
    EXPECT_TRUE(parseMText("", 1.0)[0].runs.empty());
}
