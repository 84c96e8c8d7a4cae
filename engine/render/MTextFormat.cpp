#include "engine/render/MTextFormat.h"

#include <cctype>
#include <charconv>
#include <cstdlib>

#include "engine/render/TextCodes.h"
#include "engine/text/CaretNotation.h"

namespace cad {

namespace {

struct State {
    double height = 0.0;
    double widthFactor = 1.0;
    std::optional<Color> color;
    std::string font;
    bool underline = false, overline = false, strikeout = false;
};

// A number with an optional trailing "x" (relative to `current`); nothing when it does not parse.
std::optional<double> scaledValue(std::string_view value, double current) {
    bool relative = false;
    if (!value.empty() && (value.back() == 'x' || value.back() == 'X')) {
        relative = true;
        value.remove_suffix(1);
    }
    const std::string copy(value);
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (copy.empty() || end != copy.c_str() + copy.size() || !(v > 0) || v > 1e6) return std::nullopt;
    return relative ? current * v : v;
}

class Parser {
public:
    Parser(std::string_view text, double height) : text_(text) {
        state_.height = height;
        paragraphs_.emplace_back();
    }

    std::vector<MTextParagraph> run() {
        while (i_ < text_.size()) step();
        return std::move(paragraphs_);
    }

private:
    // The run the next characters go into: the last one when it has the current settings.
    std::string& out() {
        auto& runs = paragraphs_.back().runs;
        if (runs.empty() || !sameAsState(runs.back())) {
            runs.push_back({std::string(), state_.height, state_.widthFactor, state_.color, state_.font,
                            state_.underline, state_.overline, state_.strikeout, 0, std::string()});
        }
        return runs.back().text;
    }
    bool sameAsState(const MTextRun& r) const {
        return r.stack == 0 && r.height == state_.height && r.widthFactor == state_.widthFactor &&
               r.font == state_.font && r.color.has_value() == state_.color.has_value() &&
               (!r.color || *r.color == *state_.color) && r.underline == state_.underline &&
               r.overline == state_.overline && r.strikeout == state_.strikeout;
    }
    // The value after a code, up to ';' (or the end), consumed.
    std::string_view value() {
        const std::size_t end = text_.find(';', i_);
        const std::string_view v = text_.substr(i_, end == std::string_view::npos ? std::string_view::npos : end - i_);
        i_ = end == std::string_view::npos ? text_.size() : end + 1;
        return v;
    }

    void step() {
        const char c = text_[i_];
        if (c == '{') {
            stack_.push_back(state_);
            ++i_;
            return;
        }
        if (c == '}') {
            if (!stack_.empty()) {
                state_ = stack_.back();
                stack_.pop_back();
            }
            ++i_;
            return;
        }
        if (c == '%' && i_ + 2 < text_.size() && text_[i_ + 1] == '%') {
            std::size_t j = i_ + 3;
            if (std::isdigit(static_cast<unsigned char>(text_[i_ + 2])))
                while (j < text_.size() && j < i_ + 5 && std::isdigit(static_cast<unsigned char>(text_[j]))) ++j;
            out() += decodeTextCodes(text_.substr(i_, j - i_));
            i_ = j;
            return;
        }
        // The file's caret notation: "^ " is a caret; a control character shows as a space.
        if (const auto pair = caretPairAt(text_, i_)) {
            out() += *pair == '^' ? '^' : ' ';
            i_ += 2;
            return;
        }
        if (c != '\\' || i_ + 1 >= text_.size()) {
            out() += c;
            ++i_;
            return;
        }
        const char code = text_[i_ + 1];
        if (code == 'U' && i_ + 7 <= text_.size() && text_[i_ + 2] == '+') {
            const std::string decoded = decodeTextCodes(text_.substr(i_, 7));
            if (decoded.size() < 7) {
                out() += decoded;
                i_ += 7;
                return;
            }
        }
        i_ += 2;
        switch (code) {
            case 'P': case 'X': paragraphs_.emplace_back(); break;
            case '~': out() += ' '; break;
            case '\\': case '{': case '}': out() += code; break;
            case 'N':
                paragraphs_.emplace_back();
                paragraphs_.back().newColumn = true;
                break;
            case 'L': case 'l': state_.underline = code == 'L'; break;
            case 'O': case 'o': state_.overline = code == 'O'; break;
            case 'K': case 'k': state_.strikeout = code == 'K'; break;
            case 'S': {
                const std::string_view v = value();
                const std::size_t split = v.find_first_of("/#^");
                if (split == std::string_view::npos) {
                    out() += v;
                    break;
                }
                out();  // a run with the current settings to copy
                MTextRun run = paragraphs_.back().runs.back();
                if (run.text.empty()) paragraphs_.back().runs.pop_back();
                run.text = std::string(v.substr(0, split));
                run.below = std::string(v.substr(split + 1));
                // "^ " is how files write a caret: the space is not part of the lower text.
                if (!run.below.empty() && run.below.front() == ' ') run.below.erase(0, 1);
                run.stack = v[split];
                paragraphs_.back().runs.push_back(std::move(run));
                break;
            }
            case 'H':
                if (auto h = scaledValue(value(), state_.height)) state_.height = *h;
                break;
            case 'W':
                if (auto w = scaledValue(value(), state_.widthFactor)) state_.widthFactor = *w;
                break;
            case 'C': {
                const std::string v(value());
                const int index = std::atoi(v.c_str());
                if (index >= 1 && index <= 255) state_.color = Color::fromIndex(index);
                else if (index == 0) state_.color = Color::byBlock();
                else state_.color.reset();  // 256: by layer, the entity's own
                break;
            }
            case 'c': {
                const std::string v(value());
                char* end = nullptr;
                const unsigned long rgb = std::strtoul(v.c_str(), &end, 10);
                if (!v.empty() && end == v.c_str() + v.size() && rgb <= 0xFFFFFF)
                    state_.color = Color::fromTrueColorValue(static_cast<std::uint32_t>(rgb));
                break;
            }
            case 'f': case 'F': {
                const std::string_view v = value();
                std::string family(v.substr(0, v.find('|')));
                // \f names a family ("Arial"), \F a font file ("romans.shx").
                state_.font = code == 'f' && family.find('.') == std::string::npos && !family.empty() ? family + ".ttf" : family;
                break;
            }
            default:
                // \A \Q \T \p \a and the rest carry a value up to ';'.
                value();
                break;
        }
    }

    std::string_view text_;
    std::size_t i_ = 0;
    State state_;
    std::vector<State> stack_;
    std::vector<MTextParagraph> paragraphs_;
};

}  // namespace

std::vector<MTextParagraph> parseMText(std::string_view text, double height) { return Parser(text, height).run(); }

}  // namespace cad
