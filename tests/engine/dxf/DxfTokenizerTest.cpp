#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfTagStream.h"
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

// A file big enough to be split ahead on a second thread, through many more chunks than are in
// flight at once, must read exactly as the tokenizer reads it: tags, positions and the error.
TEST(DxfTagStream, ReadAheadGivesTheTokenizersTagsPositionsAndErrors) {
    std::string body;
    for (int i = 0; body.size() < cad::DxfTagStream::kReadAheadFrom + 300000; ++i)
        body += " 10\n" + std::to_string(i) + ".5\n  1\n" + std::string(i % 7, ' ') + "v\r\n";
    for (std::string tail : {"", "\n", "  1\nno terminator", "xx\n0\n", " 10\n"}) {
        const std::string text = body + tail;
        cad::DxfTokenizer plain(text, "big.dxf");
        cad::DxfTagStream stream{cad::DxfTokenizer(text, "big.dxf")};
        std::string plainError, streamError;
        auto step = [](auto& source, cad::DxfTag& tag, std::string& error) {
            try {
                return source.next(tag);
            } catch (const cad::DxfError& e) {
                error = e.what();
                return false;
            }
        };
        std::size_t count = 0;
        for (cad::DxfTag a, b;; ++count) {
            const bool more = step(plain, a, plainError);
            ASSERT_EQ(step(stream, b, streamError), more) << "tag " << count;
            if (!more) break;
            if (a.code != b.code || a.value != b.value || a.line != b.line || a.offset != b.offset ||
                plain.offset() != stream.offset() || plain.line() != stream.line())
                FAIL() << "tag " << count << " at line " << a.line << " differs; next tag at " << plain.offset()
                       << " against " << stream.offset();
        }
        EXPECT_GT(count, 100000u);
        EXPECT_EQ(streamError, plainError) << "tail '" << tail << "'";
        cad::DxfTag tag;
        if (plainError.empty()) {
            EXPECT_EQ(stream.offset(), plain.offset()) << "after the end, tail '" << tail << "'";
            EXPECT_FALSE(stream.next(tag));
        } else {
            EXPECT_THROW(stream.next(tag), cad::DxfError);  // stays failed
        }
    }
    // A reader that stops early (a file ending at 0 EOF) leaves the splitting thread waiting on a
    // full queue: dropping the stream must end it.
    cad::DxfTagStream early{cad::DxfTokenizer(body, "big.dxf")};
    cad::DxfTag tag;
    ASSERT_TRUE(early.next(tag));
    EXPECT_EQ(tag.value, "0.5");
}
