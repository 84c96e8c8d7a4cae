#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cad {

// One (group code, value) pair, viewing the buffer it was read from.
// 32 bytes: a large drawing passes millions of these between threads.
struct DxfTag {
    int code = 0;
    std::uint32_t line = 0;  // 1-based line of the group code (the tokenizer refuses more lines)
    std::string_view value;  // the value line without its terminator; spaces kept
    std::size_t offset = 0;  // byte offset of the group code line
};
static_assert(sizeof(DxfTag) <= 32);

// Splits an ASCII DXF buffer into tags. The buffer is read in place: no allocation per tag.
// Accepts LF, CRLF and CR-only files and a leading UTF-8 byte order mark.
class DxfTokenizer {
public:
    // The file name is only viewed: it must outlive the tokenizer.
    DxfTokenizer(std::string_view buffer, std::string_view fileName);
    // A tokenizer over part of the same buffer (a record read earlier), keeping line numbers.
    DxfTokenizer slice(std::size_t offset, std::size_t length, std::size_t firstLine) const;

    // Reads the next tag; false at the clean end of the buffer. Throws DxfError on a group code
    // that is not a number or on a file that ends between a code and its value.
    bool next(DxfTag& tag);

    std::size_t offset() const { return pos_; }  // where the next tag starts
    std::size_t line() const { return line_; }   // line of the next tag
    std::string_view buffer() const { return buf_; }
    std::string_view fileName() const { return fileName_; }
    // The line terminator found first in the file ("\r\n", "\n" or "\r").
    std::string_view lineEnding() const { return eol_; }

    [[noreturn]] void fail(std::size_t line, const std::string& message) const;

    // Numeric values; the whole value line, blanks around it allowed, must be the number.
    std::int64_t toInt(const DxfTag& tag) const;
    double toDouble(const DxfTag& tag) const;

private:
    DxfTokenizer() = default;
    bool readLine(std::string_view& out);

    std::string_view buf_;
    std::string_view fileName_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    char terminator_ = '\n';
    std::string_view eol_ = "\r\n";
};

// Parses a group code or integer value; false if the text (blanks trimmed) is not an integer.
bool parseDxfInt(std::string_view text, std::int64_t& value);
bool parseDxfDouble(std::string_view text, double& value);
// Inline: every number read is trimmed first, and most have nothing to trim.
inline std::string_view trimDxfBlanks(std::string_view text) {
    // Blanks are at most a space; most values have none at either end.
    if (!text.empty() && static_cast<unsigned char>(text.front()) > ' ' && static_cast<unsigned char>(text.back()) > ' ')
        return text;
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\r')) --e;
    return text.substr(b, e - b);
}

// True if the buffer starts with the binary DXF sentinel.
bool isBinaryDxf(std::string_view buffer);

}  // namespace cad
