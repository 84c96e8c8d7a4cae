#include "module/BlockListing.h"

#include <cctype>
#include <cstdint>

#include <fmt/printf.h>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"

namespace {

constexpr const char* kFile = __FILE__;

// Hexadecimal digits that the 32-bit conversion reads, after an optional "0x".
std::size_t significantDigits(const std::string& handle, std::size_t& start) {
    start = handle.size() >= 2 && handle[0] == '0' && (handle[1] == 'x' || handle[1] == 'X') ? 2 : 0;
    std::size_t end = start;
    while (end < handle.size() && std::isxdigit(static_cast<unsigned char>(handle[end]))) ++end;
    while (start < end && handle[start] == '0') ++start;  // leading zeros do not make a handle long
    return end - start;
}

}  // namespace

std::string CBlockListing::handleDecimal(const std::string& handle) {
    return korvaWrap(kFile, "CBlockListing::handleDecimal", [&] {
        std::size_t start = 0;
        const std::size_t digits = significantDigits(handle, start);
        if (digits <= 8) return fmt::sprintf("%i", CUtilities::_httoi(handle));
        std::uint64_t value = 0;
        for (std::size_t i = start; i < start + digits && i < start + 16; ++i) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(handle[i])));
            value = (value << 4) | static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'A' + 10);
        }
        return fmt::sprintf("%u", value);
    });
}

std::string CBlockListing::blockLine(const std::string& blockName, const std::string& name, double area,
                                     const std::string& handle, std::size_t assetCount) {
    return korvaWrap(kFile, "CBlockListing::blockLine", [&] {
        return fmt::sprintf("%s,%s,%s,%s,%s,%i\n", blockName, name, CUtilities::DoubleToCString(area, 2), handle,
                            handleDecimal(handle), static_cast<int>(assetCount));
    });
}

std::string CBlockListing::assetLine(const std::string& blockIdentifier, const std::string& handle,
                                     std::size_t attributeCount) {
    return korvaWrap(kFile, "CBlockListing::assetLine", [&] {
        return fmt::sprintf(",,,,,,%s,%s,%s,%i\n", blockIdentifier, handle, handleDecimal(handle),
                            static_cast<int>(attributeCount));
    });
}
