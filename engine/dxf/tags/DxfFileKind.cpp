// Tells what a file that is not DXF text looks like. Invariant: it looks at the first 4 KiB only
// and refuses nothing that starts with a group code line and is mostly text.
#include "engine/dxf/tags/DxfFileKind.h"

#include <array>
#include <cstddef>

#include "engine/dxf/tags/DxfTokenizer.h"

namespace cad {

namespace {

bool isDigitOrDot(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// "AC1032" -> "2018"; the releases that introduced each format.
std::string_view dwgRelease(std::string_view magic) {
    struct Release {
        std::string_view magic, name;
    };
    static constexpr std::array<Release, 10> kReleases{{{"AC1009", "R11/R12"},
                                                       {"AC1012", "R13"},
                                                       {"AC1014", "R14"},
                                                       {"AC1015", "2000"},
                                                       {"AC1018", "2004"},
                                                       {"AC1021", "2007"},
                                                       {"AC1024", "2010"},
                                                       {"AC1027", "2013"},
                                                       {"AC1032", "2018"},
                                                       {"AC1.50", "2.0"}}};
    for (const Release& r : kReleases)
        if (r.magic == magic) return r.name;
    return {};
}

// DWG files open with their version as six ASCII characters ("AC1032"), then binary fields.
std::optional<std::string> dwg(std::string_view head) {
    if (head.size() < 8 || head.substr(0, 2) != "AC") return std::nullopt;
    for (std::size_t i = 2; i < 6; ++i)
        if (!isDigitOrDot(head[i])) return std::nullopt;
    bool binary = false;
    for (std::size_t i = 6; i < head.size() && i < 32; ++i)
        binary = binary || static_cast<unsigned char>(head[i]) < 0x09;
    if (!binary) return std::nullopt;
    const std::string_view magic = head.substr(0, 6);
    const std::string_view release = dwgRelease(magic);
    std::string what = "is a DWG drawing (" + std::string(magic);
    if (!release.empty()) what += ", the " + std::string(release) + " format";
    return what + "), which brinmo does not read; save it as DXF in the program that made it and open that file";
}

// UTF-16 text: a byte order mark, or ASCII characters each beside a zero byte.
std::optional<std::string> utf16(std::string_view head) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };
    bool bom = head.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF));
    bool pattern = false;
    if (!bom && head.size() >= 8) {
        for (std::size_t zero : {std::size_t{0}, std::size_t{1}}) {
            bool all = true;
            for (std::size_t i = 0; i < 8 && all; ++i) {
                const bool wantZero = i % 2 == zero;
                all = wantZero ? byte(i) == 0 : byte(i) != 0 && byte(i) < 0x80;
            }
            pattern = pattern || all;
        }
    }
    if (!bom && !pattern) return std::nullopt;
    return std::string("is text in UTF-16, which brinmo does not read as DXF; save the drawing as DXF again, "
                       "or convert the file to UTF-8");
}

struct Signature {
    std::string_view bytes, what;
};
constexpr std::array<Signature, 7> kSignatures{{
    {"%PDF-", "a PDF document"},
    {"PK\x03\x04", "a ZIP archive"},
    {"\x1f\x8b", "a gzip-compressed file; decompress it first"},
    {"\x89PNG", "a PNG image"},
    {"\xff\xd8\xff", "a JPEG image"},
    {"\x7f" "ELF", "a program"},
    {"BZh", "a bzip2-compressed file; decompress it first"},
}};

// Binary data: a known signature, or many control bytes where a DXF has only line ends.
std::optional<std::string> binary(std::string_view head) {
    for (const Signature& s : kSignatures) {
        if (head.substr(0, s.bytes.size()) != s.bytes) continue;
        // "BZh" could begin a line of text; a real bzip2 stream has its block size digit next.
        if (s.bytes == "BZh" && (head.size() < 4 || head[3] < '1' || head[3] > '9')) continue;
        return "is not a DXF drawing: it looks like " + std::string(s.what);
    }
    std::size_t control = 0, zeros = 0;
    for (char ch : head) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0) ++zeros;
        if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f') || c == 0x7F) ++control;
    }
    // A text DXF starts with a group code; one that does and holds a stray zero byte is damaged
    // text, which the reader reports where it is.
    std::string_view first = head.substr(0, head.find('\n'));
    if (first.substr(0, 3) == "\xEF\xBB\xBF") first.remove_prefix(3);
    std::int64_t code = 0;
    const bool startsWithCode = parseDxfInt(first, code);
    if (control * 8 >= head.size() || (zeros > 0 && !startsWithCode))
        return std::string("is not a DXF drawing: it holds binary data");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> describeNonDxf(std::string_view head) {
    head = head.substr(0, 4096);
    if (head.empty()) return std::nullopt;
    if (isBinaryDxf(head)) return std::string("is a binary DXF drawing, which brinmo does not read; save it as ASCII DXF");
    if (auto what = dwg(head)) return what;
    if (auto what = utf16(head)) return what;
    return binary(head);
}

}  // namespace cad
