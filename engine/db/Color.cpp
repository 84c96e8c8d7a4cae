#include "engine/db/Color.h"

#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

#include <fmt/format.h>

namespace cad {

namespace {

// The standard 256-entry palette: entries 1-9 are named colours, 10-249 a hue wheel of 24 hues
// in ten shades, 250-255 greys.
struct Palette {
    std::array<std::array<std::uint8_t, 3>, 256> rgb{};
    Palette() {
        const std::uint8_t named[10][3] = {{0, 0, 0},       {255, 0, 0},   {255, 255, 0}, {0, 255, 0},
                                           {0, 255, 255},   {0, 0, 255},   {255, 0, 255}, {255, 255, 255},
                                           {128, 128, 128}, {192, 192, 192}};
        for (int i = 0; i < 10; ++i) rgb[i] = {named[i][0], named[i][1], named[i][2]};
        const double values[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
        for (int i = 10; i < 250; ++i) {
            int hueIndex = (i - 10) / 10;
            int shade = (i - 10) % 10;
            double hue = hueIndex * 15.0;
            double value = values[shade / 2];
            double saturation = (shade % 2 == 0) ? 1.0 : 0.5;
            double c = value * saturation;
            double hp = hue / 60.0;
            double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
            double r = 0, g = 0, b = 0;
            if (hp < 1) { r = c; g = x; }
            else if (hp < 2) { r = x; g = c; }
            else if (hp < 3) { g = c; b = x; }
            else if (hp < 4) { g = x; b = c; }
            else if (hp < 5) { r = x; b = c; }
            else { r = c; b = x; }
            double m = value - c;
            auto to8 = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255.0)); };
            rgb[i] = {to8(r + m), to8(g + m), to8(b + m)};
        }
        const std::uint8_t greys[6] = {51, 80, 105, 130, 190, 255};
        for (int i = 0; i < 6; ++i) rgb[250 + i] = {greys[i], greys[i], greys[i]};
    }
};

const Palette& palette() {
    static const Palette p;
    return p;
}

}  // namespace

void paletteRgb(int index, std::uint8_t& r, std::uint8_t& g, std::uint8_t& b) {
    if (index < 1 || index > 255) index = 7;
    const auto& e = palette().rgb[static_cast<std::size_t>(index)];
    r = e[0];
    g = e[1];
    b = e[2];
}

Color Color::fromIndex(int index) {
    if (index == 0) return byBlock();
    if (index == 256) return byLayer();
    if (index < 1 || index > 255) throw std::out_of_range(fmt::format("colour index {} outside 0..256", index));
    std::uint8_t r, g, b;
    paletteRgb(index, r, g, b);
    return Color(Method::Index, index, r, g, b);
}

Color Color::fromRgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    Color c(Method::True, 0, red, green, blue);
    c.index_ = static_cast<std::int16_t>(c.colorIndex());
    return c;
}

Color Color::fromTrueColorValue(std::uint32_t value) {
    return fromRgb(static_cast<std::uint8_t>((value >> 16) & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
                   static_cast<std::uint8_t>(value & 0xFF));
}

int Color::colorIndex() const {
    if (method_ != Method::True) return index_;
    int best = 7;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 1; i < 256; ++i) {
        const auto& e = palette().rgb[static_cast<std::size_t>(i)];
        long dr = long(e[0]) - r_, dg = long(e[1]) - g_, db = long(e[2]) - b_;
        long d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

std::uint8_t Color::red() const { return r_; }
std::uint8_t Color::green() const { return g_; }
std::uint8_t Color::blue() const { return b_; }

std::uint32_t Color::trueColorValue() const {
    return (std::uint32_t(r_) << 16) | (std::uint32_t(g_) << 8) | std::uint32_t(b_);
}

std::string Color::toString() const {
    switch (method_) {
        case Method::ByLayer: return "BYLAYER";
        case Method::ByBlock: return "BYBLOCK";
        case Method::Index: return fmt::format("{}", index_);
        case Method::True: return fmt::format("{},{},{}", r_, g_, b_);
    }
    return {};
}

}  // namespace cad
