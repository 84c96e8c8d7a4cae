#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <memory>
#include <string>
#include <vector>

#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfTokenizer.h"

namespace {

std::vector<cad::DxfTag> readAll(std::string_view text) {
    cad::DxfTokenizer t(text, "t.dxf");
    std::vector<cad::DxfTag> tags;
    cad::DxfTag tag;
    while (t.next(tag)) tags.push_back(tag);
    return tags;
}

std::string errorOf(std::string_view text) {
    try {
        readAll(text);
    } catch (const cad::DxfError& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(DxfTokenizer, ReadsLfCrlfAndCrOnlyAlikeKeepingValueBlanks) {
    for (std::string eol : {"\n", "\r\n", "\r"}) {
        std::string text = "  0" + eol + "SECTION" + eol + "  2" + eol + "ENTITIES" + eol + "  3" + eol + " lead" +
                           eol + " 10" + eol + "1.5" + eol + "0" + eol + "EOF" + eol;
        auto tags = readAll(text);
        ASSERT_EQ(tags.size(), 5u) << "eol size " << eol.size();
        EXPECT_EQ(tags[0].code, 0);
        EXPECT_EQ(tags[0].value, "SECTION");
        EXPECT_EQ(tags[2].value, " lead");  // text keeps its leading blank
        EXPECT_EQ(tags[3].code, 10);
        EXPECT_EQ(tags[3].line, 7u);
        EXPECT_EQ(tags[4].value, "EOF");
        cad::DxfTokenizer t(text, "x");
        EXPECT_EQ(t.lineEnding(), eol);
    }
    // A byte order mark is skipped; the last line may lack its terminator.
    auto tags = readAll("\xEF\xBB\xBF  0\nEOF");
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_EQ(tags[0].value, "EOF");
    // Stray CRs before a line's LF are line-end debris, all of them: a value keeping some would
    // lose one more on every save.
    for (const char* text : {"  1\r\nA\r\r\r\n", "  1\nA\r\r\r\n"}) {
        tags = readAll(text);
        ASSERT_EQ(tags.size(), 1u);
        EXPECT_EQ(tags[0].code, 1);
        EXPECT_EQ(tags[0].value, "A");
    }
}

TEST(DxfTokenizer, MalformedInputNamesFileAndLine) {
    EXPECT_EQ(errorOf("  0\nSECTION\nabc\nfoo\n"), "t.dxf, line 3: invalid group code 'abc'");
    EXPECT_EQ(errorOf("  0\nSECTION\n  2\n"), "t.dxf, line 3: file ends after group code 2");
    EXPECT_NE(errorOf("1.5\nx\n").find("line 1: invalid group code"), std::string::npos);
    EXPECT_NE(errorOf("99999\nx\n").find("invalid group code"), std::string::npos);

    cad::DxfTokenizer t(" 70\n  abc\n 40\n1e400\n 70\n  12 \n 40\n-.5\n", "n.dxf");
    cad::DxfTag tag;
    ASSERT_TRUE(t.next(tag));
    try {
        t.toInt(tag);
        FAIL() << "no error";
    } catch (const cad::DxfError& e) {
        EXPECT_EQ(std::string(e.what()), "n.dxf, line 2: group code 70 needs an integer, found '  abc'");
        EXPECT_EQ(e.line(), 2u);
    }
    ASSERT_TRUE(t.next(tag));
    EXPECT_THROW(t.toDouble(tag), cad::DxfError);  // out of range
    ASSERT_TRUE(t.next(tag));
    EXPECT_EQ(t.toInt(tag), 12);
    ASSERT_TRUE(t.next(tag));
    EXPECT_DOUBLE_EQ(t.toDouble(tag), -0.5);
}

// Values of every length from none to past two search widths, each at every distance from the end
// of the text, with each kind of line end and the last one left off: the values are the lines as a
// plain character-by-character split finds them. The text is copied to the exact size so that a
// search reading past its end would be caught by the sanitizers.
TEST(DxfTokenizer, ValuesOfAnyLengthAnywhereSplitAsAPlainSearchDoes) {
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        for (std::size_t length = 0; length <= 40; ++length) {
            for (std::size_t after = 0; after <= 3; ++after) {
                std::string text;
                std::vector<std::string> expected;
                for (std::size_t k = 0; k <= after; ++k) {
                    const std::string value(length + k, static_cast<char>('a' + k));
                    text += "  1" + eol + value + eol;
                    expected.push_back(value);
                }
                for (const bool cutLast : {false, true}) {
                    if (cutLast && expected.back().empty()) continue;  // the file would end after a code
                    const std::string whole = cutLast ? text.substr(0, text.size() - eol.size()) : text;
                    const auto exact = std::make_unique<char[]>(whole.size());
                    std::copy(whole.begin(), whole.end(), exact.get());
                    const auto tags = readAll(std::string_view(exact.get(), whole.size()));
                    ASSERT_EQ(tags.size(), expected.size()) << "length " << length << " eol " << eol.size();
                    for (std::size_t k = 0; k < tags.size(); ++k) {
                        ASSERT_EQ(tags[k].value, expected[k]) << "length " << length << ", value " << k;
                        ASSERT_EQ(tags[k].line, 2 * k + 1);
                    }
                }
            }
        }
    }
}

// Numbers read as the full conversion reads them, to the bit and with the same refusals: the
// shortcut taken for plain decimals must not round differently anywhere (long digit runs, many
// places after the point, leading zeros, negative zero), nor accept what the conversion refuses.
TEST(DxfTokenizer, NumbersReadToTheBitAsTheFullConversionReadsThem) {
    const auto reference = [](std::string_view text, double& value) {
        text = cad::trimDxfBlanks(text);
        if (!text.empty() && text.front() == '+') text.remove_prefix(1);
        if (text.empty()) return false;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
    };
    std::vector<std::string> inputs = {"0", "-0", "-0.0", "0.", ".5", "-.5", "5.", ".", "-", "+", "+-1", "--1", "1.2.3",
                                       " 12.5 ", "\t-3\r", "1e5", "1E-5", "0x10", "inf", "nan", "1,5", "12a",
                                       "9007199254740992", "9007199254740993", "-9007199254740993.5",
                                       "0.1", "0.2", "0.3", "123456789012345.6", "1234567890123456.7",
                                       "0.0000000000000000000001", "0.00000000000000000000001", "1.0000000000000000",
                                       "00000000000000000000000012.5", "1" + std::string(400, '0'), "1e400"};
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200000; ++i) {
        std::string s = random() % 3 == 0 ? "-" : "";
        const int length = 1 + static_cast<int>(random() % 25);
        const int point = static_cast<int>(random() % (length + 2)) - 1;
        for (int k = 0; k < length; ++k) {
            if (k == point) s += '.';
            s += static_cast<char>('0' + (random() % 4 == 0 ? 0 : random() % 10));
        }
        inputs.push_back(s);
    }
    for (const std::string& s : inputs) {
        double want = 0, got = 0;
        const bool ok = reference(s, want);
        ASSERT_EQ(cad::parseDxfDouble(s, got), ok) << "'" << s << "'";
        if (ok) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want)) << "'" << s << "'";
        }
    }
}
