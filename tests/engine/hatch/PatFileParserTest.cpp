#include <gtest/gtest.h>

#include <string>

#include "engine/hatch/HatchPatternLibrary.h"
#include "engine/hatch/PatFileParser.h"

using namespace cad;

namespace {

// The message of the PatParseError that parsing `text` throws, or "" when it parses.
std::string parseError(const std::string& text) {
    try {
        parsePatText(text, "test.pat");
    } catch (const PatParseError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(PatFileParser, ReadsHeadersLinesDashesAndComments) {
    auto pats = parsePatText(
        "\xEF\xBB\xBF; leading comment\r\n"
        "*BRICKISH, Bricks, with a comma\r\n"
        "0, 0,0, 0,.25   ; courses\r\n"
        "90, 0,0, .25,.25, .25,-.25\r\n"
        "\n"
        "*dots\n"
        "+0, -1.5,2e-1, .0625,.125, 0,-.125,\n",
        "inline");
    ASSERT_EQ(pats.size(), 2u);
    EXPECT_EQ(pats[0].name, "BRICKISH");
    EXPECT_EQ(pats[0].description, "Bricks, with a comma");
    ASSERT_EQ(pats[0].lines.size(), 2u);
    EXPECT_DOUBLE_EQ(pats[0].lines[1].angle, 90.0);
    EXPECT_DOUBLE_EQ(pats[0].lines[1].offset.x, 0.25);
    EXPECT_EQ(pats[0].lines[1].dashes, (std::vector<double>{0.25, -0.25}));
    EXPECT_TRUE(pats[0].lines[0].dashes.empty());
    EXPECT_EQ(pats[1].name, "dots");
    EXPECT_EQ(pats[1].description, "");
    EXPECT_DOUBLE_EQ(pats[1].lines[0].origin.x, -1.5);
    EXPECT_DOUBLE_EQ(pats[1].lines[0].origin.y, 0.2);
    EXPECT_EQ(pats[1].lines[0].dashes, (std::vector<double>{0.0, -0.125}));
    // SOLID may come without lines; other patterns may not.
    EXPECT_EQ(parsePatText("*solid, fill\n", "x").size(), 1u);
}

TEST(PatFileParser, BadLinesNameSourceAndLine) {
    EXPECT_EQ(parseError("*A\n0, 0,0, 0\n"),
              "test.pat:2: a line definition needs angle, x-origin, y-origin, delta-x, delta-y; "
              "found 4 number(s)");
    EXPECT_EQ(parseError("*A\n\n0, 0,x, 0,1\n"), "test.pat:3: field 3 is not a number: \"x\"");
    EXPECT_EQ(parseError("0, 0,0, 0,1\n"), "test.pat:1: line definition before the first *NAME header");
    EXPECT_EQ(parseError("*A\n*B\n0,0,0,0,1\n"), "test.pat:1: pattern A has no line definitions");
    EXPECT_EQ(parseError("*A\n0,0,0,0,1\n*B\n"), "test.pat:3: pattern B has no line definitions");
    EXPECT_EQ(parseError("* , nameless\n"), "test.pat:1: pattern name missing after '*'");
    EXPECT_EQ(parseError("*A\n0,0,0,0,1\n*a\n0,0,0,0,1\n"), "test.pat:3: pattern a is defined twice");
    EXPECT_EQ(parseError("*A\n0,0,0,0,1,-1,-2\n"), "test.pat:2: the dash list has only gaps");
    EXPECT_EQ(parseError("*A\n0,0,0,0,1,,2\n"), "test.pat:2: field 6 is not a number: \"\"");
    EXPECT_EQ(parseError("*A\n0,0,0,0,inf\n"), "test.pat:2: field 5 is not a number: \"inf\"");

    std::string file = std::string(BRINMO_TEST_DATA) + "/hatch/bad.pat";
    try {
        parsePatFile(file);
        FAIL() << "bad.pat parsed";
    } catch (const PatParseError& e) {
        EXPECT_EQ(e.source(), file);
        EXPECT_EQ(e.line(), 6);
        EXPECT_EQ(std::string(e.what()), file + ":6: field 3 is not a number: \"zero\"");
    }
    try {
        parsePatFile("/nonexistent/none.pat");
        FAIL() << "missing file parsed";
    } catch (const PatParseError& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/none.pat:0: cannot open the pattern file");
    }
}

TEST(HatchPatternLibrary, BuiltInsUnitsCaseInsensitiveLookupAndUserFiles) {
    HatchPatternLibrary metric(PatternUnits::Metric), imperial(PatternUnits::Imperial);
    ASSERT_NE(metric.find("ansi31"), nullptr);
    ASSERT_NE(metric.find("Solid"), nullptr);
    EXPECT_TRUE(metric.find("SOLID")->isSolid());
    EXPECT_FALSE(metric.find("ANSI31")->isSolid());
    EXPECT_EQ(metric.find("NO-SUCH"), nullptr);
    EXPECT_GE(metric.size(), 10u);
    for (const char* name : {"CROSS", "BRICK", "GRID", "DOTS", "LINES"}) EXPECT_TRUE(metric.contains(name)) << name;
    EXPECT_DOUBLE_EQ(imperial.find("ANSI31")->lines[0].offset.y, 0.125);
    EXPECT_NEAR(metric.find("ANSI31")->lines[0].offset.y, 3.175, 1e-12);
    EXPECT_NEAR(metric.find("BRICK")->lines[1].dashes[1], -6.35, 1e-12);

    std::size_t before = imperial.size();
    EXPECT_EQ(imperial.loadFile(std::string(BRINMO_TEST_DATA) + "/hatch/extra.pat"), 2u);
    EXPECT_EQ(imperial.size(), before + 1);  // ansi31 replaced, HERRING added
    EXPECT_EQ(imperial.find("herring")->lines.size(), 2u);
    EXPECT_DOUBLE_EQ(imperial.find("ANSI31")->lines[0].offset.y, 0.5);
    EXPECT_THROW(imperial.loadFile(std::string(BRINMO_TEST_DATA) + "/hatch/bad.pat"), PatParseError);
}
