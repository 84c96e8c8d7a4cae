#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/render/GlyphCache.h"

typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace cad {

// An outline font ready to draw with, and the measures text placement needs, per em.
struct FontFace {
    cairo_font_face_t* face = nullptr;      // owned by the library
    cairo_scaled_font_t* measure = nullptr; // unhinted, for advances
    double capHeight = 0.72;                // height of capitals: what a drawing's text height means
    double ascent = 0.93;
    double descent = 0.24;                  // below the baseline, positive
    std::string family;                     // as fontconfig matched it
    std::unique_ptr<GlyphCache> glyphs;     // of `measure`; filled as characters are met
};

// Fonts for the texts of drawings, matched through fontconfig and drawn through FreeType. Shape
// fonts (.shx and the bare names such as "txt" or "romans") have no outline form here and are
// drawn with a packaged sans font; outline font files ("arial.ttf") are matched by family name.
class FontLibrary {
public:
    FontLibrary();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // Has fontconfig read the machine's configuration now, on this thread: libraries made on
    // other threads afterwards share it instead of each making it at the same moment.
    static void loadConfiguration();

    // The face for a text style's font file name.
    const FontFace& face(std::string_view fontFile);
    // Width of the text at 1 em (UTF-8 text, as drawn).
    double advance(const FontFace& face, std::string_view text);

    // A stretch of a text drawn with one face, `x` em from the text's start.
    struct Run {
        const FontFace* face = nullptr;
        std::string_view text;
        double x = 0.0, advance = 0.0;
    };
    // The text split where a character the face lacks is drawn with another font that has it
    // (Chinese room names in a style whose font is Latin only); one run when nothing is missing.
    std::vector<Run> runs(const FontFace& face, std::string_view text);
    // Some text needed a font other than its style's.
    bool lookedForOtherFonts() const { return !fallbacks_.empty(); }
    // Every font draws ASCII: only other texts can need a second font.
    static bool ascii(std::string_view text);
    // Size of the fonts that measure, in units per em.
    static constexpr double kMeasureSize = 1024.0;

    // The family that stands in for shape fonts.
    static constexpr const char* kShapeFontFamily = "DejaVu Sans";

private:
    struct Entry;
    std::unique_ptr<Entry> load(const std::string& family);

    // The face of another font that has the character, or null when no font has it.
    const FontFace* fallback(char32_t character);

    std::map<std::string, std::unique_ptr<Entry>> families_;
    std::map<std::string, const Entry*> byFile_;  // lower-case file name -> its family's entry
    std::map<char32_t, const Entry*> fallbacks_;  // null: no font has the character
    std::vector<const Entry*> fallbackFonts_;     // in the order they were first needed
    // Characters no font has cost a fontconfig query each: a drawing full of them must not make
    // a picture slow.
    static constexpr int kMaxFallbackQueries = 256;
    int fallbackQueries_ = 0;
};

// The family to ask fontconfig for, for a style's font file.
std::string fontFamilyForFile(std::string_view fontFile);

}  // namespace cad
