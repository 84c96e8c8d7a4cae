#pragma once
#include <cstddef>
#include <string>

// The lines mlb prints for each space block and each of its assets.
class CBlockListing {
public:
    static constexpr const char* kHeader = "ID,Name,Area,Handle(hex),Handle(dec),Assets\n";

    // "%s,%s,%s,%s,%i,%i\n": definition name, space name, area with two decimals, handle text,
    // handle as a number, number of assets.
    static std::string blockLine(const std::string& blockName, const std::string& name, double area,
                                 const std::string& handle, std::size_t assetCount);
    // ",,,,,,%s,%s,%i,%i\n": the asset's block name, handle text, handle as a number, number of
    // attributes read from it.
    static std::string assetLine(const std::string& blockIdentifier, const std::string& handle,
                                 std::size_t attributeCount);

    // The decimal column of a handle. Up to eight hexadecimal digits a handle is printed as the
    // signed 32-bit number the hexadecimal conversion gives (FFFFFFFF prints -1). A longer handle
    // does not fit that column; cutting it to its low 32 bits would print the number of another
    // object, so it is printed whole, as its unsigned 64-bit value.
    static std::string handleDecimal(const std::string& handle);
};
