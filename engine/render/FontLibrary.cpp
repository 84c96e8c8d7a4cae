#include "engine/render/FontLibrary.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace cad {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// fontconfig's best font for the pattern, which this takes; null when the machine has none.
FcPattern* bestMatch(FcPattern* pattern) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    return match;
}

FcPattern* matchFamily(const std::string& family) {
    return bestMatch(FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str())));
}

cairo_font_options_t* unhintedOptions() {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    return options;
}

}  // namespace

std::string fontFamilyForFile(std::string_view fontFile) {
    std::string name = lower(std::filesystem::path(std::string(fontFile)).filename().string());
    const std::string ext = lower(std::filesystem::path(name).extension().string());
    const std::string stem = std::filesystem::path(name).stem().string();
    if (ext == ".ttf" || ext == ".ttc" || ext == ".otf") return stem.empty() ? FontLibrary::kShapeFontFamily : stem;
    if (stem.rfind("mono", 0) == 0) return "DejaVu Sans Mono";
    return FontLibrary::kShapeFontFamily;
}

struct FontLibrary::Entry {
    FontFace font;
    ~Entry() {
        if (font.measure) cairo_scaled_font_destroy(font.measure);
        if (font.face) cairo_font_face_destroy(font.face);
    }
};

FontLibrary::FontLibrary() = default;

void FontLibrary::loadConfiguration() {
    // A match makes fontconfig load its configuration and caches, and its own lock, all of which
    // it otherwise makes on first use. Making a face from it has fontconfig name the properties
    // cairo adds (it names them lock-free, and two threads met there on a large plan).
    if (FcPattern* match = matchFamily(kShapeFontFamily)) {
        cairo_font_face_destroy(cairo_ft_font_face_create_for_pattern(match));
        FcPatternDestroy(match);
    }
}
FontLibrary::~FontLibrary() = default;

std::unique_ptr<FontLibrary::Entry> FontLibrary::load(const std::string& family) {
    auto entry = std::make_unique<Entry>();
    FcPattern* match = matchFamily(family);
    if (match == nullptr) {
        // No font at all on the machine: cairo's own choice, drawn all the same.
        entry->font.face = cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    } else {
        FcChar8* matched = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch)
            entry->font.family = reinterpret_cast<const char*>(matched);
        entry->font.face = cairo_ft_font_face_create_for_pattern(match);
        FcPatternDestroy(match);
    }
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, kMeasureSize, kMeasureSize);
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t* options = unhintedOptions();
    entry->font.measure = cairo_scaled_font_create(entry->font.face, &size, &identity, options);
    cairo_font_options_destroy(options);
    // Advances are measured at a large size so that cairo's rounding to 1/256 does not show.
    entry->font.glyphs = std::make_unique<GlyphCache>(entry->font.measure, kMeasureSize);

    cairo_font_extents_t extents;
    cairo_scaled_font_extents(entry->font.measure, &extents);
    if (extents.ascent > 0) entry->font.ascent = extents.ascent / kMeasureSize;
    if (extents.descent > 0) entry->font.descent = extents.descent / kMeasureSize;
    if (cairo_scaled_font_get_type(entry->font.measure) == CAIRO_FONT_TYPE_FT) {
        if (FT_Face ft = cairo_ft_scaled_font_lock_face(entry->font.measure)) {
            auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
            if (os2 && os2->version >= 2 && os2->sCapHeight > 0 && ft->units_per_EM > 0)
                entry->font.capHeight = static_cast<double>(os2->sCapHeight) / ft->units_per_EM;
            cairo_ft_scaled_font_unlock_face(entry->font.measure);
        }
    }
    return entry;
}

const FontFace& FontLibrary::face(std::string_view fontFile) {
    const std::string key = lower(fontFile);
    if (auto it = byFile_.find(key); it != byFile_.end()) return it->second->font;
    const std::string family = fontFamilyForFile(fontFile);
    auto known = families_.find(family);
    if (known == families_.end()) known = families_.emplace(family, load(family)).first;
    byFile_.emplace(key, known->second.get());
    return known->second->font;
}

bool FontLibrary::ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

double FontLibrary::advance(const FontFace& face, std::string_view text) {
    if (text.empty() || !face.glyphs) return 0.0;
    if (ascii(text)) return face.glyphs->layout(text, nullptr);
    const std::vector<Run> parts = runs(face, text);
    return parts.empty() ? 0.0 : parts.back().x + parts.back().advance;
}

std::vector<FontLibrary::Run> FontLibrary::runs(const FontFace& face, std::string_view text) {
    std::vector<Run> out;
    if (!face.glyphs) return out;
    std::size_t i = 0, start = 0;
    const FontFace* current = &face;
    double x = 0.0, runStart = 0.0;
    while (i < text.size()) {
        const std::size_t at = i;
        const char32_t c = nextUtf8(text, i);
        const FontFace* drawnBy = &face;
        double width = 0.0;
        if (const GlyphMetrics& g = face.glyphs->glyph(c); g.index != 0 || c < 0x80) {
            width = g.advance;
        } else if (const FontFace* other = fallback(c); other != nullptr && other != &face) {
            drawnBy = other;
            width = other->glyphs->glyph(c).advance;
        } else {
            width = g.advance;  // the face's own sign for a missing character
        }
        if (drawnBy != current) {
            if (at > start) out.push_back({current, text.substr(start, at - start), runStart, x - runStart});
            current = drawnBy;
            start = at;
            runStart = x;
        }
        x += width;
    }
    if (i > start || out.empty()) out.push_back({current, text.substr(start), runStart, x - runStart});
    return out;
}

const FontFace* FontLibrary::fallback(char32_t character) {
    if (auto known = fallbacks_.find(character); known != fallbacks_.end())
        return known->second ? &known->second->font : nullptr;
    const Entry* found = nullptr;
    // A font already taken for other characters usually has this one too (a Chinese plan has
    // thousands of distinct characters); asking fontconfig costs far more.
    for (const Entry* known : fallbackFonts_) {
        if (known->font.glyphs->glyph(character).index != 0) {
            found = known;
            break;
        }
    }
    if (found != nullptr || fallbackQueries_ >= kMaxFallbackQueries) {
        fallbacks_.emplace(character, found);
        return found ? &found->font : nullptr;
    }
    ++fallbackQueries_;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    if (FcPattern* match = bestMatch(pattern)) {
        // fontconfig offers its best font even when none has the character.
        FcCharSet* has = nullptr;
        FcChar8* family = nullptr;
        const bool hasIt = FcPatternGetCharSet(match, FC_CHARSET, 0, &has) == FcResultMatch &&
                           FcCharSetHasChar(has, character);
        if (hasIt && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch) {
            const std::string name = reinterpret_cast<const char*>(family);
            auto entry = families_.find(name);
            if (entry == families_.end()) entry = families_.emplace(name, load(name)).first;
            if (entry->second->font.glyphs && entry->second->font.glyphs->glyph(character).index != 0) {
                found = entry->second.get();
                if (std::find(fallbackFonts_.begin(), fallbackFonts_.end(), found) == fallbackFonts_.end())
                    fallbackFonts_.push_back(found);
            }
        }
        FcPatternDestroy(match);
    }
    fallbacks_.emplace(character, found);
    return found ? &found->font : nullptr;
}

}  // namespace cad
