#include <gtest/gtest.h>

#include <string>

#include "engine/dxf/DxfCodePage.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfError.h"
#include "engine/dxf/tags/DxfFileKind.h"

namespace {

// The message reading `bytes` as a drawing gives, or "" when it reads.
std::string errorOf(const std::string& bytes) {
    try {
        cad::DxfDocument::parse(bytes, "in.dxf");
    } catch (const cad::DxfError& e) {
        return e.what();
    }
    return "";
}

const std::string kMinimal = "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n";

std::string utf16(const std::string& ascii, bool bigEndian, bool bom) {
    std::string out;
    if (bom) out = bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE");
    for (char c : ascii) {
        if (bigEndian) out += '\0';
        out += c;
        if (!bigEndian) out += '\0';
    }
    return out;
}

}  // namespace

TEST(DxfFileKind, FilesThatAreNotDxfTextSayWhatTheyLookLike) {
    // The whole messages for a 2018 DWG, a binary DXF, UTF-16 text, a PNG image and Latin-1 bytes are
    // in the drawing_not_dxf script test.
    EXPECT_NE(errorOf(std::string("AC1015\0\0", 8)).find("DWG drawing (AC1015, the 2000 format)"), std::string::npos);
    // A version no release table knows is still a DWG.
    EXPECT_NE(errorOf(std::string("AC1099\x01\x00", 8)).find("is a DWG drawing (AC1099)"), std::string::npos);

    for (bool bigEndian : {false, true})
        for (bool bom : {false, true})
            EXPECT_NE(errorOf(utf16(kMinimal, bigEndian, bom)).find("is text in UTF-16"), std::string::npos)
                << bigEndian << bom;

    EXPECT_EQ(errorOf("%PDF-1.7\n..."), "in.dxf: is not a DXF drawing: it looks like a PDF document");
    EXPECT_NE(errorOf(std::string("PK\x03\x04\x14\0", 6)).find("a ZIP archive"), std::string::npos);
    EXPECT_NE(errorOf("\x1f\x8b\x08\x00").find("gzip-compressed file; decompress it first"), std::string::npos);
    std::string noise;
    for (int i = 0; i < 600; ++i) noise += static_cast<char>((i * 37) % 256);
    EXPECT_EQ(errorOf(noise), "in.dxf: is not a DXF drawing: it holds binary data");
}

TEST(DxfFileKind, DxfTextIsLeftToTheReader) {
    EXPECT_EQ(errorOf(kMinimal), "");
    EXPECT_EQ(errorOf("\xEF\xBB\xBF" + kMinimal), "");
    // A stray zero byte inside a value is damage the reader deals with, not a binary file.
    const std::string withZero = "999\nnote " + std::string(1, '\0') + "\n" + kMinimal;
    EXPECT_EQ(cad::describeNonDxf(withZero), std::nullopt);
    // Text that merely starts like a signature ("BZh" and no block size) is not taken for one.
    EXPECT_EQ(cad::describeNonDxf("BZhello\n"), std::nullopt);
    // A text line that is not a group code is the tokenizer's to name, with its line.
    EXPECT_EQ(errorOf("<?xml version=\"1.0\"?>\n<svg/>\n"), "in.dxf, line 1: invalid group code '<?xml version=\"1.0\"?>'");
}

TEST(DxfFileKind, BytesThatAreNotUtf8NeverReachAMessageRaw) {
    EXPECT_EQ(cad::terminalSafe("Caf\xC3\xA9 \xE4\xB8\xAD"), "Caf\xC3\xA9 \xE4\xB8\xAD");  // valid UTF-8 kept
    EXPECT_EQ(cad::terminalSafe("Caf\xE9!"), "Caf\\xE9!");                                  // Latin-1
    EXPECT_EQ(cad::terminalSafe("\xC0\xAF"), "\\xC0\\xAF");                                 // overlong '/'
    EXPECT_EQ(cad::terminalSafe("\xED\xA0\x80"), "\\xED\\xA0\\x80");                        // a surrogate
    EXPECT_EQ(cad::terminalSafe("cut \xE4\xB8"), "cut \\xE4\\xB8");                         // truncated
    EXPECT_EQ(cad::terminalSafe("bell\x07 esc\x1b[2J\ttab"), "bell\\x07 esc\\x1B[2J\ttab");

    // Warnings quote the file as messages do.
    const auto doc = cad::DxfDocument::parse(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_\xE9\n  0\nENDSEC\n"
        "  0\nEOF\n",
        "in.dxf");
    ASSERT_FALSE(doc.warnings().empty());
    EXPECT_EQ(doc.warnings().front(), "unknown $DWGCODEPAGE 'ANSI_\\xE9'; read as ANSI_1252");

    // The text of a UTF-8 file is UTF-8 once read: a stray byte is taken as Latin-1.
    const cad::DxfCodePage utf8File("ANSI_1252", true);
    EXPECT_EQ(utf8File.decode("Caf\xe9"), "Caf\xC3\xA9");
    EXPECT_EQ(utf8File.decode("Caf\xC3\xA9"), "Caf\xC3\xA9");
}
