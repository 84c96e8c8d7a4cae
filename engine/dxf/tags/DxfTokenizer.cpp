// Splits the text into (code, value) tags. Invariants: values keep their blanks and bytes (only
// the line end goes), offsets and line numbers are exact, so records can be copied as spans; the
// tokenizer never starts over, a malformed code line is an error naming its line.
#include "engine/dxf/tags/DxfTokenizer.h"

#include <charconv>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/dxf/DxfError.h"

namespace cad {

namespace {
constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};
constexpr std::string_view kBom{"\xEF\xBB\xBF"};

// At most 40 bytes of a value for a message; DxfError makes whatever is not UTF-8 safe to show.
std::string printable(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
    if (text.size() > 40) out += "...";
    return out;
}
}  // namespace

bool parseDxfInt(std::string_view text, std::int64_t& value) {
    text = trimDxfBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

namespace {

// Plain decimals ("-12.5", "0.25", "300") whose digits make an integer up to 2^53, with at most 22
// of them after the point: that integer and the power of ten are exact doubles, so one division
// rounds as the full conversion does. A drawing's coordinates are nearly all of this form.
bool parsePlainDecimal(std::string_view text, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = *p == '-';
    if (negative) ++p;
    // Nineteen digits cannot overflow; more, or the rare long run of zeros, take the full path.
    std::uint64_t digits = 0;
    const char* const whole = p;
    while (p < end && static_cast<unsigned char>(*p - '0') < 10) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    const std::ptrdiff_t wholeDigits = p - whole;
    std::ptrdiff_t fraction = 0;
    if (p < end && *p == '.') {
        const char* const after = ++p;
        while (p < end && static_cast<unsigned char>(*p - '0') < 10) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        fraction = p - after;
    }
    if (p != end || wholeDigits + fraction == 0 || wholeDigits + fraction > 19) return false;
    if (fraction > 22 || digits > (std::uint64_t{1} << 53)) return false;
    const double magnitude = static_cast<double>(digits) / kPowers[fraction];
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

bool parseDxfDouble(std::string_view text, double& value) {
    text = trimDxfBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    if (parsePlainDecimal(text, value)) return true;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size()) return false;
    return std::isfinite(value);
}

bool isBinaryDxf(std::string_view buffer) { return buffer.substr(0, kBinarySentinel.size()) == kBinarySentinel; }

DxfTokenizer::DxfTokenizer(std::string_view buffer, std::string_view fileName)
    : buf_(buffer), fileName_(fileName) {
    if (isBinaryDxf(buf_)) fail(0, "is a binary DXF drawing, which brinmo does not read; save it as ASCII DXF");
    if (buf_.substr(0, kBom.size()) == kBom) pos_ = kBom.size();
    // The first terminator decides: a CR not followed by LF means a CR-only file.
    const void* found = std::memchr(buf_.data(), '\n', buf_.size());
    const std::size_t lf = found ? static_cast<const char*>(found) - buf_.data() : buf_.size();
    const std::size_t cr = buf_.substr(0, lf).find('\r');
    if (cr != std::string_view::npos && cr + 1 < buf_.size() && buf_[cr + 1] != '\n' && cr + 1 != lf) {
        terminator_ = '\r';
        eol_ = "\r";
    } else if (found) {
        eol_ = (lf > 0 && buf_[lf - 1] == '\r') ? std::string_view("\r\n") : std::string_view("\n");
    }
}

DxfTokenizer DxfTokenizer::slice(std::size_t offset, std::size_t length, std::size_t firstLine) const {
    DxfTokenizer t;
    t.buf_ = buf_.substr(0, offset + length);
    t.fileName_ = fileName_;
    t.pos_ = offset;
    t.line_ = firstLine;
    t.terminator_ = terminator_;
    t.eol_ = eol_;
    return t;
}

void DxfTokenizer::fail(std::size_t line, const std::string& message) const {
    throw DxfError(std::string(fileName_), line, message);
}

bool DxfTokenizer::readLine(std::string_view& out) {
    if (pos_ >= buf_.size()) return false;
    const char* start = buf_.data() + pos_;
    const std::size_t rest = buf_.size() - pos_;
    // next() finds both lines of a short tag itself; this takes the others.
    const char* end = static_cast<const char*>(std::memchr(start, terminator_, rest));
    const bool found = end != nullptr;
    std::size_t len = found ? static_cast<std::size_t>(end - start) : rest;
    pos_ += found ? len + 1 : len;
    // Every CR before the LF goes: one left in the value would be lost on the next read instead.
    if (terminator_ == '\n')
        while (len > 0 && start[len - 1] == '\r') --len;
    out = std::string_view(start, len);
    ++line_;
    return true;
}

bool DxfTokenizer::next(DxfTag& tag) {
    if (line_ > UINT32_MAX) [[unlikely]]
        fail(line_, "more than " + std::to_string(UINT32_MAX) + " lines, which brinmo does not read");
    tag.offset = pos_;
    tag.line = static_cast<std::uint32_t>(line_);
#if defined(__SSE2__)
    // Most tags are a short code line and a short value: one 16-byte comparison finds both ends.
    if (buf_.size() - pos_ >= 16) {
        const char* start = buf_.data() + pos_;
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start));
        unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(terminator_))));
        if (hits != 0 && (hits & (hits - 1)) != 0) {
            const unsigned codeEnd = static_cast<unsigned>(__builtin_ctz(hits));
            hits &= hits - 1;
            const unsigned valueEnd = static_cast<unsigned>(__builtin_ctz(hits));
            unsigned n = codeEnd;
            if (terminator_ == '\n')
                while (n > 0 && start[n - 1] == '\r') --n;
            unsigned i = 0;
            while (i < n && start[i] == ' ') ++i;
            int v = 0;
            const unsigned first = i;
            while (i < n && i - first < 4 && start[i] >= '0' && start[i] <= '9') v = v * 10 + (start[i++] - '0');
            if (i > first && i == n) {
                const char* value = start + codeEnd + 1;
                std::size_t len = valueEnd - codeEnd - 1;
                if (terminator_ == '\n')
                    while (len > 0 && value[len - 1] == '\r') --len;
                tag.code = v;
                tag.value = std::string_view(value, len);
                pos_ += valueEnd + 1;
                line_ += 2;
                return true;
            }
        }
    }
#endif
    std::string_view codeLine;
    if (!readLine(codeLine)) return false;
    // Fast path for the usual "  10" form; anything else goes through the general parser.
    {
        std::size_t i = 0;
        while (i < codeLine.size() && codeLine[i] == ' ') ++i;
        int v = 0;
        std::size_t digits = 0;
        while (i < codeLine.size() && digits < 5 && codeLine[i] >= '0' && codeLine[i] <= '9') {
            v = v * 10 + (codeLine[i++] - '0');
            ++digits;
        }
        if (digits > 0 && digits < 5 && i == codeLine.size()) {
            tag.code = v;
            if (!readLine(tag.value)) fail(tag.line, "file ends after group code " + std::to_string(v));
            return true;
        }
    }
    std::int64_t code = 0;
    if (!parseDxfInt(codeLine, code) || code < -5 || code > 9999) {
        // A blank last line is a harmless trailing terminator.
        if (pos_ >= buf_.size() && trimDxfBlanks(codeLine).empty()) return false;
        fail(tag.line, "invalid group code '" + printable(codeLine) + "'");
    }
    tag.code = static_cast<int>(code);
    if (!readLine(tag.value)) fail(tag.line, "file ends after group code " + std::to_string(code));
    return true;
}

std::int64_t DxfTokenizer::toInt(const DxfTag& tag) const {
    std::int64_t v = 0;
    if (parseDxfInt(tag.value, v)) return v;
    // Some writers put integers as reals ("1.0"); accept whole numbers.
    double d = 0;
    if (parseDxfDouble(tag.value, d) && d == std::floor(d) && std::fabs(d) < 9.2e18)
        return static_cast<std::int64_t>(d);
    fail(tag.line + 1,
         "group code " + std::to_string(tag.code) + " needs an integer, found '" + printable(tag.value) + "'");
}

double DxfTokenizer::toDouble(const DxfTag& tag) const {
    double v = 0;
    if (parseDxfDouble(tag.value, v)) return v;
    fail(tag.line + 1,
         "group code " + std::to_string(tag.code) + " needs a number, found '" + printable(tag.value) + "'");
}

}  // namespace cad
