#pragma once
#include <cstdint>
#include <string>

namespace cad {

// An entity or layer colour: an index of the standard palette, a true colour, or a reference to
// the layer's or the enclosing block's colour. Index 0 is "by block" and 256 "by layer", as in DXF.
class Color {
public:
    enum class Method : std::uint8_t { ByLayer, ByBlock, Index, True };

    Color() = default;
    static Color byLayer() { return Color(Method::ByLayer, 256, 0, 0, 0); }
    static Color byBlock() { return Color(Method::ByBlock, 0, 0, 0, 0); }
    static Color fromIndex(int index);
    static Color fromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
    // The 24-bit value of DXF group 420 (0x00RRGGBB).
    static Color fromTrueColorValue(std::uint32_t value);

    Method method() const { return method_; }
    bool isByLayer() const { return method_ == Method::ByLayer; }
    bool isByBlock() const { return method_ == Method::ByBlock; }
    bool isTrueColor() const { return method_ == Method::True; }

    // Palette index; for a true colour, the nearest palette entry.
    int colorIndex() const;
    std::uint8_t red() const;
    std::uint8_t green() const;
    std::uint8_t blue() const;
    std::uint32_t trueColorValue() const;

    std::string toString() const;

    friend bool operator==(const Color&, const Color&) = default;

private:
    Color(Method m, int index, std::uint8_t r, std::uint8_t g, std::uint8_t b)
        : method_(m), index_(static_cast<std::int16_t>(index)), r_(r), g_(g), b_(b) {}

    Method method_ = Method::ByLayer;
    std::int16_t index_ = 256;
    std::uint8_t r_ = 0, g_ = 0, b_ = 0;
};

// Red, green and blue of a palette index (1..255); index 7 is white.
void paletteRgb(int index, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b);

}  // namespace cad
