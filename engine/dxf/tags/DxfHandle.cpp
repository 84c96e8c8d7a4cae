// Handle text. Invariant: parsing accepts what files hold (any case, blanks); formatting always
// writes upper-case hex without leading zeros.
#include "engine/dxf/tags/DxfHandle.h"

#include "engine/dxf/tags/DxfTokenizer.h"

namespace cad {

std::optional<std::uint64_t> parseDxfHandle(std::string_view text) {
    text = trimDxfBlanks(text);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : text) {
        int h = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                         : -1;
        if (h < 0) return std::nullopt;
        v = (v << 4) | static_cast<std::uint64_t>(h);
    }
    return v;
}

std::string formatDxfHandle(std::uint64_t handle) {
    static constexpr char digits[] = "0123456789ABCDEF";
    char buf[16];
    int n = 0;
    do {
        buf[15 - n++] = digits[handle & 0xF];
        handle >>= 4;
    } while (handle != 0);
    return std::string(buf + 16 - n, static_cast<std::size_t>(n));
}

}  // namespace cad
