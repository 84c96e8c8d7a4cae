// Text between the file's bytes and the database's UTF-8. Invariant: decoding never fails (a byte
// no page defines is taken as Latin-1) and never touches the file's own text: records copied
// verbatim keep their bytes, escapes included; only generated records are encoded.
#include "engine/dxf/DxfCodePage.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "engine/text/CaretNotation.h"

namespace cad {

namespace {

const char* iconvName(std::string_view dxfName) {
    static constexpr std::pair<std::string_view, const char*> table[] = {
        {"ANSI_874", "CP874"},   {"ANSI_932", "CP932"},   {"ANSI_936", "GBK"},     {"ANSI_949", "CP949"},
        {"ANSI_950", "BIG5"},    {"ANSI_1250", "CP1250"}, {"ANSI_1251", "CP1251"}, {"ANSI_1252", "CP1252"},
        {"ANSI_1253", "CP1253"}, {"ANSI_1254", "CP1254"}, {"ANSI_1255", "CP1255"}, {"ANSI_1256", "CP1256"},
        {"ANSI_1257", "CP1257"}, {"ANSI_1258", "CP1258"}, {"ANSI_1361", "JOHAB"},  {"ISO8859-1", "ISO-8859-1"},
        {"DOS437", "CP437"},     {"DOS850", "CP850"},     {"DOS852", "CP852"},     {"DOS866", "CP866"},
    };
    for (auto [k, v] : table) {
        if (dxfName.size() == k.size() && strncasecmp(dxfName.data(), k.data(), k.size()) == 0) return v;
    }
    return nullptr;
}

// \M+nXXXX: n selects the double-byte page.
const char* mbcsPage(char n) {
    switch (n) {
        case '1': return "CP932";
        case '2': return "BIG5";
        case '3': return "CP949";
        case '4': return "JOHAB";
        case '5': return "GBK";
        default: return nullptr;
    }
}

struct Iconv {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);
    Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    ~Iconv() {
        if (ok()) iconv_close(cd);
    }
    bool ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
    // Converts as much of the input as the page defines; returns how many bytes that took.
    std::size_t convertPrefix(std::string_view in, std::string& out) const {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 256> buf{};
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        while (srcLeft > 0) {
            char* dst = buf.data();
            std::size_t dstLeft = buf.size();
            std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf.data(), buf.size() - dstLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        }
        return in.size() - srcLeft;
    }
    // Converts the whole input; false on a byte sequence the page does not define.
    bool convert(std::string_view in, std::string& out) const { return convertPrefix(in, out) == in.size(); }
};

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool parseHex4(std::string_view s, std::size_t at, unsigned& value) {
    if (at + 4 > s.size()) return false;
    value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        int h = hexValue(s[at + i]);
        if (h < 0) return false;
        value = value * 16 + static_cast<unsigned>(h);
    }
    return true;
}

// Decodes one UTF-8 sequence; returns its length (1 for a stray byte, taken as Latin-1).
std::size_t nextCodePoint(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        cp = b;
        return 1;
    }
    cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) {
            cp = b;
            return 1;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    return len;
}

void appendEscape(std::string& out, unsigned v) {
    static constexpr char digits[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out += digits[(v >> shift) & 0xF];
}

}  // namespace

struct DxfCodePage::Converters {
    Iconv toUtf8;
    Iconv fromUtf8;
    Converters(const char* page) : toUtf8("UTF-8", page), fromUtf8(page, "UTF-8") {}
};

DxfCodePage::DxfCodePage(std::string_view name, bool utf8File) : name_(name), utf8File_(utf8File) {
    const char* page = iconvName(name);
    if (!page) {
        known_ = name.empty();
        page = "CP1252";
        name_ = "ANSI_1252";
    }
    conv_ = std::make_unique<Converters>(page);
    if (!conv_->toUtf8.ok() || !conv_->fromUtf8.ok()) {
        known_ = false;
        conv_ = std::make_unique<Converters>("CP1252");
    }
}

DxfCodePage::DxfCodePage(DxfCodePage&&) noexcept = default;
DxfCodePage& DxfCodePage::operator=(DxfCodePage&&) noexcept = default;
DxfCodePage::~DxfCodePage() = default;

std::string DxfCodePage::decode(std::string_view raw) const { return decode(raw, false); }

std::string DxfCodePage::decodeValue(std::string_view raw) const { return decode(raw, true); }

std::string DxfCodePage::encode(std::string_view utf8) const { return encode(utf8, false); }

std::string DxfCodePage::encodeValue(std::string_view utf8) const { return encode(utf8, true); }

std::string DxfCodePage::decode(std::string_view raw, bool carets) const {
    bool plain = true;
    for (char c : raw) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || (carets && c == '^')) {
            plain = false;
            break;
        }
    }
    if (plain) return std::string(raw);

    std::string text;
    if (utf8File_) {
        // A byte that starts no valid sequence is taken as Latin-1, as in a code page file, so that
        // what the drawing holds is always UTF-8.
        text.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size();) {
            char32_t cp = 0;
            const std::size_t len = nextCodePoint(raw, i, cp);
            if (len > 1 || cp < 0x80) text.append(raw.substr(i, len));
            else appendUtf8(text, cp);
            i += len;
        }
    } else {
        // Convert run by run so that an undefined byte costs only itself (taken as Latin-1).
        std::size_t i = 0;
        while (i < raw.size()) {
            if (static_cast<unsigned char>(raw[i]) < 0x80) {
                text += raw[i++];
                continue;
            }
            std::size_t j = i;
            while (j < raw.size() && static_cast<unsigned char>(raw[j]) >= 0x80) ++j;
            // Double-byte pages use ASCII trail bytes: extend the run by one byte.
            const std::size_t end = (j < raw.size()) ? j + 1 : j;
            const std::size_t used = conv_->toUtf8.convertPrefix(raw.substr(i, end - i), text);
            if (used > 0) {
                i += used;
            } else {
                appendUtf8(text, static_cast<unsigned char>(raw[i]));
                ++i;
            }
        }
    }

    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned v = 0;
        if (text[i] == '\\' && i + 2 < text.size() && (text[i + 1] == 'U' || text[i + 1] == 'u') &&
            text[i + 2] == '+' && parseHex4(text, i + 3, v)) {
            std::size_t used = 7;
            char32_t cp = v;
            unsigned low = 0;
            if (v >= 0xD800 && v < 0xDC00 && i + 13 < text.size() + 1 && text.compare(i + 7, 3, "\\U+") == 0 &&
                parseHex4(text, i + 10, low) && low >= 0xDC00 && low < 0xE000) {
                cp = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
                used = 14;
            }
            appendUtf8(out, cp);
            i += used;
            continue;
        }
        if (text[i] == '\\' && i + 3 < text.size() && (text[i + 1] == 'M' || text[i + 1] == 'm') &&
            text[i + 2] == '+' && mbcsPage(text[i + 3]) && parseHex4(text, i + 4, v)) {
            Iconv dbcs("UTF-8", mbcsPage(text[i + 3]));
            const char bytes[2] = {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
            std::string part;
            if (dbcs.ok() && dbcs.convert(std::string_view(bytes, 2), part)) {
                out += part;
                i += 8;
                continue;
            }
        }
        if (carets) {
            if (const auto c = caretPairAt(text, i)) {
                out += *c;
                i += 2;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

std::string DxfCodePage::encode(std::string_view value, bool carets) const {
    // A line end inside a value would end it in the file: control characters go in caret notation.
    carets = carets && std::any_of(value.begin(), value.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '^'; });
    std::string escaped;
    if (carets) {
        escaped.reserve(value.size() + 8);
        for (char c : value) appendInCaretNotation(escaped, c);
    }
    const std::string_view utf8 = carets ? std::string_view(escaped) : value;
    bool plain = true;
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            plain = false;
            break;
        }
    }
    if (plain || utf8File_) return std::string(utf8);
    std::string out;
    out.reserve(utf8.size() + 8);
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        std::size_t len = nextCodePoint(utf8, i, cp);
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else {
            std::string part, one, back;
            appendUtf8(one, cp);
            // Pages map some characters one way only (CP932 writes U+00AC as the bytes it reads as
            // U+FFE2): those are escaped, so that what is written reads back as it was.
            if (conv_->fromUtf8.convert(one, part) && !part.empty() && conv_->toUtf8.convert(part, back) &&
                back == one) {
                out += part;
            } else if (cp >= 0x10000) {
                appendEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
                appendEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                appendEscape(out, static_cast<unsigned>(cp));
            }
        }
        i += len;
    }
    return out;
}

}  // namespace cad
