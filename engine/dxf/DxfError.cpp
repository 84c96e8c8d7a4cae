// Errors name the file and line. Invariant: a message never carries bytes that are not UTF-8 or
// control characters, whatever the file held.
#include "engine/dxf/DxfError.h"

namespace cad {

std::string terminalSafe(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    const auto escape = [&](unsigned char c) {
        out += "\\x";
        out += kHex[c >> 4];
        out += kHex[c & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            if ((b < 0x20 && b != '\t') || b == 0x7F) escape(b);
            else out += static_cast<char>(b);
            ++i;
            continue;
        }
        // Length and the smallest code point each length may carry (overlong forms are invalid).
        const std::size_t len = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        bool valid = len > 0 && i + len <= text.size();
        char32_t cp = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (std::size_t k = 1; valid && k < len; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            valid = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (valid) {
            const char32_t least = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
            valid = cp >= least && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        }
        if (!valid) {
            escape(b);
            ++i;
            continue;
        }
        out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

namespace {
std::string compose(const std::string& fileName, std::size_t line, const std::string& what) {
    std::string text = fileName.empty() ? std::string("<memory>") : fileName;
    if (line > 0) text += ", line " + std::to_string(line);
    return terminalSafe(text + ": " + what);
}
}  // namespace

DxfError::DxfError(const std::string& fileName, std::size_t line, const std::string& what)
    : std::runtime_error(compose(fileName, line, what)), fileName_(fileName), line_(line) {}

}  // namespace cad
