#include "engine/render/GlyphCache.h"

#include <cairo.h>

#include "engine/text/Utf8.h"

namespace cad {

char32_t nextUtf8(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t extra = 0;
    char32_t cp = lead;
    if (lead >= 0xC2 && lead < 0xE0) extra = 1, cp = lead & 0x1F;
    else if (lead >= 0xE0 && lead < 0xF0) extra = 2, cp = lead & 0x0F;
    else if (lead >= 0xF0 && lead < 0xF5) extra = 3, cp = lead & 0x07;
    bool ok = extra > 0 && i + extra < text.size();
    for (std::size_t k = 1; ok && k <= extra; ++k) ok = (byte(i + k) & 0xC0) == 0x80;
    if (!ok) {
        ++i;
        return lead;
    }
    for (std::size_t k = 1; k <= extra; ++k) cp = (cp << 6) | (byte(i + k) & 0x3F);
    i += extra + 1;
    return cp;
}

GlyphCache::GlyphCache(cairo_scaled_font_t* measure, double measureSize) : measure_(measure), measureSize_(measureSize) {}

GlyphMetrics GlyphCache::lookUp(char32_t character) const {
    GlyphMetrics m;
    if (measure_ == nullptr) return m;
    std::string utf8;
    appendUtf8(utf8, character);
    if (utf8.empty()) return m;
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(measure_, 0, 0, utf8.c_str(), static_cast<int>(utf8.size()), &glyphs, &count,
                                         nullptr, nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
        count == 1) {
        m.index = glyphs[0].index;
        cairo_text_extents_t extents;
        cairo_scaled_font_glyph_extents(measure_, glyphs, 1, &extents);
        m.advance = extents.x_advance / measureSize_;
    }
    cairo_glyph_free(glyphs);
    return m;
}

const GlyphMetrics& GlyphCache::glyph(char32_t character) {
    if (character < 128) {
        if (!asciiKnown_[character]) {
            ascii_[character] = lookUp(character);
            asciiKnown_[character] = true;
        }
        return ascii_[character];
    }
    auto it = others_.find(character);
    if (it == others_.end()) it = others_.emplace(character, lookUp(character)).first;
    return it->second;
}

double GlyphCache::layout(std::string_view utf8, std::vector<PlacedGlyph>* out) {
    double x = 0.0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Room names and numbers are nearly all ASCII, whose glyphs are met again and again.
        const auto byte = static_cast<unsigned char>(utf8[i]);
        const bool known = byte < 128 && asciiKnown_[byte];
        const char32_t c = known ? (++i, byte) : nextUtf8(utf8, i);
        const GlyphMetrics& g = known ? ascii_[byte] : glyph(c);
        if (out) out->push_back({g.index, x, c});
        x += g.advance;
    }
    return x;
}

}  // namespace cad
