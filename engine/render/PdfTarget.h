#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/render/CanvasTarget.h"

typedef struct _cairo cairo_t;
struct libdeflate_compressor;

namespace cad {

// A one-page PDF written directly: paths as they come, texts as Type 3 fonts made of the glyphs'
// outlines (with the characters they stand for, so the texts can be searched and copied). The
// content is formatted and deflated as it is drawn, which costs a fraction of what a general
// PDF writer needs for a drawing of hundreds of thousands of lines. It is deflated a piece at a
// time, each piece a stream of its own: the page's content is the pieces in order.
class PdfTarget : public CanvasTarget {
public:
    // The page in points.
    PdfTarget(double width, double height);
    ~PdfTarget() override;
    PdfTarget(const PdfTarget&) = delete;
    PdfTarget& operator=(const PdfTarget&) = delete;

    double width() const override { return width_; }
    double height() const override { return height_; }
    void draw(const CanvasBatch& batch) override;
    void paintBackground(Rgb color) override;
    void pushClip(const DevicePath& path) override;
    void popClip() override;
    std::string error() override { return error_; }
    std::unique_ptr<CanvasTarget> makePart() override;
    void appendPart(CanvasTarget& part) override;

    // Writes the whole file, once everything is drawn.
    void write(const std::function<void(std::string_view)>& sink);

private:
    struct SubFont;
    // A part of the page numbered `part` (from 1): its own fonts, named apart from the page's, and
    // its content in a graphics state of its own, as it is appended where the page stands.
    PdfTarget(double width, double height, int part);
    struct GlyphCode {
        std::size_t font = 0;  // in fonts_
        unsigned char code = 0;
    };

    const GlyphCode& codeOf(const FontFace& face, const CanvasGlyph& glyph);
    void drawGlyphs(const CanvasBatch& batch);
    void addPath(const std::vector<Point2d>& points, const std::vector<std::pair<std::size_t, bool>>& runs);
    void setStrokeColor(Rgb color);
    void setFillColor(Rgb color);
    void forgetState();
    void setAlpha(bool stroke, std::uint8_t alpha);
    // Deflates what the content holds so far into a piece of its own.
    void deflateContent();

    double width_, height_;
    std::string content_;   // not yet deflated
    std::vector<std::string> pieces_;  // the content so far, deflated
    std::string scratch_;
    std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> zip_;
    std::string error_;

    // Graphics state as last set; unknown after a clip ends.
    bool strokeKnown_ = false, fillKnown_ = false, penKnown_ = false;
    // Opacity in force for fills [0] and strokes [1]; the page starts opaque.
    bool alphaKnown_[2] = {true, true};
    std::uint8_t alpha_[2] = {255, 255};
    std::set<std::pair<bool, std::uint8_t>> alphas_;  // (stroke, opacity) graphics states used
    Rgb stroke_, fill_;
    double lineWidth_ = 0;
    bool roundJoin_ = false;
    std::vector<double> dashes_;
    double dashOffset_ = 0;

    std::vector<SubFont> fonts_;
    std::string fontPrefix_ = "F";  // fonts are named this and their number
    int partsMade_ = 0;
    bool part_ = false;
    // By glyph and character: a font shows characters it lacks with one glyph, which must still
    // read back as each of them.
    std::map<const FontFace*, std::unordered_map<std::uint64_t, GlyphCode>> codes_;
    std::map<const FontFace*, std::size_t> openFont_;  // the face's font still taking glyphs
    std::unique_ptr<cairo_t, void (*)(cairo_t*)> outliner_;  // made on the first glyph
};

}  // namespace cad
