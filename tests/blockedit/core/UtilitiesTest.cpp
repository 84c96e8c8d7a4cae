#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "core/EXKinds.h"
#include "core/Utilities.h"

using U = CUtilities;

TEST(Conversions, BooleansAndIntegers) {
    EXPECT_EQ(U::BoolToCString(true), "1");
    EXPECT_EQ(U::BoolToCString(false), "0");
    for (const char* yes : {"1", "t", "tr", "tru", "true", "y", "ye", "yes"}) EXPECT_TRUE(U::CStringToBOOL(yes)) << yes;
    for (const char* no : {"Yes", "TRUE", "T", "", "0", "yes ", " true", "truee", "no"})
        EXPECT_FALSE(U::CStringToBOOL(no)) << no;

    EXPECT_EQ(U::CStringToInt("1,000"), 1);
    EXPECT_EQ(U::CStringToInt("-42"), -42);
    EXPECT_EQ(U::CStringToInt("-1.5"), -1);
    EXPECT_EQ(U::CStringToInt("12a"), 0);
    EXPECT_EQ(U::CStringToInt(" 12"), 0);
    EXPECT_EQ(U::CStringToInt("99999999999"), 2147483647);
    EXPECT_EQ(U::CStringToInt("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(U::CStringToLong("123456"), 123456L);
    EXPECT_EQ(U::CStringToLong("x"), 0L);
    EXPECT_EQ(U::CStringToInt64("9007199254740993"), 9007199254740993LL);
    EXPECT_EQ(U::CStringToInt64("1-"), 0);
    EXPECT_EQ(U::IntToCString(-7), "-7");
    EXPECT_EQ(U::LongToCString(1234567890123L), "1234567890123");
    EXPECT_EQ(U::CStringToSTDString("Büro"), "Büro");
}

TEST(Conversions, CStringToDoubleTakesTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(U::CStringToDouble("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(U::CStringToDouble("12.5 sq.m."), 12.5);
    EXPECT_DOUBLE_EQ(U::CStringToDouble("  -3e2x"), -300.0);
    EXPECT_DOUBLE_EQ(U::CStringToDouble("1,5"), 1.0);
    EXPECT_EQ(U::CStringToDouble(""), 0.0);
    EXPECT_EQ(U::CStringToDouble("abc"), 0.0);
}

TEST(Conversions, IsNumericAndMakeNumeric) {
    for (const char* yes : {"1,000", "-1.5", "0", ",,", "1.", ".5", "-,", "007"}) EXPECT_TRUE(U::isNumeric(yes)) << yes;
    for (const char* no : {"", "-", ".", "-.", "1-", "1.2.3", "--1", "1e5", " 1", "+1"})
        EXPECT_FALSE(U::isNumeric(no)) << no;

    const std::pair<const char*, const char*> cases[] = {
        {"-12a.3.4", "-12.34"}, {"a-1", "1"}, {"", "0"}, {"abc", ""}, {"1,2.3-", "1,2.3"}, {"..5", ".5"}, {"-", "-"},
    };
    for (const auto& [in, out] : cases) {
        std::string text = in;
        U::makeNumeric(text);
        EXPECT_EQ(text, out) << in;
    }
}

TEST(Conversions, DoubleToCString) {
    EXPECT_EQ(U::DoubleToCString(0.05, 2), "0.05");
    EXPECT_EQ(U::DoubleToCString(7, 0), "7");
    EXPECT_EQ(U::DoubleToCString(-1.5, 2), "-1.50");
    EXPECT_EQ(U::DoubleToCString(3.0, -1), "3");
    EXPECT_EQ(U::DoubleToCString(0.5, -1), "0.5");
    EXPECT_EQ(U::DoubleToCString(1234567.0, -1), "1.23457e+06");
    EXPECT_EQ(U::DoubleToCString(0.001, 2), "0.00");
    EXPECT_EQ(U::DoubleToCString(0.0, 3), "0.000");
    EXPECT_EQ(U::DoubleToCString(0.4, 0), "0");
    EXPECT_EQ(U::DoubleToCString(123.456, 2), "123.46");
    EXPECT_EQ(U::DoubleToCString(0.0625, 3), "0.062");  // an exact tie rounds to even
    EXPECT_EQ(U::DoubleToCString(1e20, 1), "100000000000000000000.0");
    // Exact to the last digit a double has (the 1074th decimal), and bounded beyond: a precision
    // from a damaged file cannot decide how much memory a number takes.
    char exact[1400];
    std::snprintf(exact, sizeof exact, "%.1100f", 5e-324);
    EXPECT_EQ(U::DoubleToCString(5e-324, 1100), exact);
    EXPECT_EQ(U::DoubleToCString(5e-324, 2000000000), exact);
    EXPECT_EQ(U::DoubleToCString(-1e308, 2000000000).size(), 1u + 309u + 1u + 1100u);
    // The sign of the conversion is kept even when the digits round to zero.
    EXPECT_EQ(U::DoubleToCString(-0.001, 2), "-0.00");

    EXPECT_EQ(U::DoubleToInt(2.5), 2);
    EXPECT_EQ(U::DoubleToInt(3.5), 4);
    EXPECT_EQ(U::DoubleToInt(-7.6), -8);
    EXPECT_DOUBLE_EQ(U::roundDouble(2.345678, 3), 2.346);
    EXPECT_DOUBLE_EQ(U::roundDouble(-0.049, 1), -0.0);
}

// The result is the runtime's fixed-point conversion (digits, point position, sign) laid out as
// the module does; compare with the C library's own conversion over many values.
TEST(Conversions, DoubleToCStringFollowsTheRuntimeConversion) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-6, 12), precisionOf(0, 6);
    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const int precision = precisionOf(random);
        char digits[512];
        int point = 0, negative = 0;
        ASSERT_EQ(fcvt_r(value, precision, &point, &negative, digits, sizeof digits), 0);
        std::string expected = negative ? "-" : "";
        const std::string all = digits;
        if (point <= 0)
            expected += "0." + std::string(static_cast<std::size_t>(-point), '0') + all;
        else
            expected += all.substr(0, static_cast<std::size_t>(point)) + "." + all.substr(static_cast<std::size_t>(point));
        if (expected.back() == '.') expected.pop_back();
        ASSERT_EQ(U::DoubleToCString(value, precision), expected) << value << " " << precision;
    }
}

TEST(Conversions, TextHelpers) {
    EXPECT_EQ(U::occurrenceCount(":", ":a:b"), 1);
    EXPECT_EQ(U::occurrenceCount(":", "a:b:c"), 2);
    EXPECT_EQ(U::occurrenceCount("aa", "aaaa"), 2);  // at 1 and 2; index 0 is not counted
    EXPECT_EQ(U::occurrenceCount("x", ""), 0);
    EXPECT_EQ(U::occurrenceCount("abc", "ab"), 0);

    EXPECT_EQ(U::padding(3, "ab"), "ababab");
    EXPECT_EQ(U::padding(0, "ab"), "");
    EXPECT_EQ(U::padding(-2, "ab"), "");

    EXPECT_EQ(U::replaceInvalidCharacters("a\\b/c:d*e?f\"g<h>i|j=k'l;m(n)o,p", "_"),
              "a_b_c_d_e_f_g_h_i_j_k_l_m_n_o_p");
    EXPECT_EQ(U::replaceInvalidCharacters("Floor 3 (East)", ""), "Floor 3 East");
    EXPECT_EQ(U::replaceInvalidCharacters("a.b-c_d", "X"), "a.b-c_d");
}

TEST(Colours, HexTexts) {
    EXPECT_EQ(U::_httoi("0x1A"), 26);
    EXPECT_EQ(U::_httoi("1G"), 1);
    EXPECT_EQ(U::_httoi("ff"), 255);
    EXPECT_EQ(U::_httoi(""), 0);
    EXPECT_EQ(U::_httoi("0X"), 0);
    EXPECT_EQ(U::_httoi("G1"), 0);

    EXPECT_NO_THROW(U::validteHexString("09AF"));
    EXPECT_THROW(U::validteHexString("09af"), CEXInvalidHexColour);

    std::string r, g, b;
    U::parseHashString("#ff8000", r, g, b);
    EXPECT_EQ(r + "," + g + "," + b, "FF,80,00");
    U::parseHashString("0a0B0c", r, g, b);
    EXPECT_EQ(r + "," + g + "," + b, "0A,0B,0C");
    for (const char* bad : {"#FFF", "", "#", "#FF80001", "#GG8000", "##FF8000", "#FF 800"}) {
        try {
            U::parseHashString(bad, r, g, b);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const CEXInvalidHexColour& e) {
            EXPECT_EQ(e.getDescription(), std::string("Invalid Hex Colour - ") + bad);
            EXPECT_EQ(e.getSource(), "CUtilities");
            EXPECT_EQ(e.getClass(), "Utilities");
            EXPECT_EQ(e.getProcSig(), "CUtilities::parseHashString");
        }
    }
}

TEST(Colours, HostColours) {
    cad::Color colour;
    U::hashColourToAcad("#FF0010", colour);
    EXPECT_TRUE(colour.isTrueColor());
    EXPECT_EQ(colour, cad::Color::fromRgb(255, 0, 16));
    EXPECT_EQ(U::acadColourToHash(colour), "#FF0010");
    EXPECT_EQ(U::acadColourToHash(cad::Color::fromRgb(10, 171, 205)), "#0AABCD");
    U::hashColourToAcad("0aabcd", colour);
    EXPECT_EQ(colour, cad::Color::fromRgb(10, 171, 205));
    // A bad colour reaches the caller as the colour kind itself, not wrapped.
    EXPECT_THROW(U::hashColourToAcad("#12", colour), CEXInvalidHexColour);
    EXPECT_EQ(colour, cad::Color::fromRgb(10, 171, 205));
}
