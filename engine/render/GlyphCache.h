#pragma once
#include <array>
#include <string_view>
#include <unordered_map>
#include <vector>

typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace cad {

// A glyph of a font: its index there and how far it moves the pen, in em.
struct GlyphMetrics {
    unsigned long index = 0;
    double advance = 0.0;
};

// A glyph placed on a text's baseline, `x` em from its start, and the character it shows.
struct PlacedGlyph {
    unsigned long index = 0;
    double x = 0.0;
    char32_t character = 0;
};

// Glyph indices and advances of one font, looked up once per character: texts are laid out and
// drawn from these instead of asking the font for every text again.
class GlyphCache {
public:
    // `measure` is an unhinted scaled font of `measureSize` units per em; it must outlive the cache.
    GlyphCache(cairo_scaled_font_t* measure, double measureSize);

    const GlyphMetrics& glyph(char32_t character);
    // The glyphs of UTF-8 text along its baseline (appended to `out` when given); returns the
    // advance of the whole text in em. A byte that is not UTF-8 stands for itself (Latin-1).
    double layout(std::string_view utf8, std::vector<PlacedGlyph>* out);

private:
    GlyphMetrics lookUp(char32_t character) const;

    cairo_scaled_font_t* measure_;
    double measureSize_;
    std::array<GlyphMetrics, 128> ascii_{};
    std::array<bool, 128> asciiKnown_{};
    std::unordered_map<char32_t, GlyphMetrics> others_;
};

// The next character of UTF-8 text at `i`, advancing `i`; a malformed byte is taken as Latin-1.
char32_t nextUtf8(std::string_view text, std::size_t& i);

}  // namespace cad
