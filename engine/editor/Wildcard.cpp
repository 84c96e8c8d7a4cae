#include "engine/editor/Wildcard.h"

#include <cctype>
#include <vector>

namespace cad {

namespace {

bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0 || static_cast<unsigned char>(c) >= 0x80; }
bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

char fold(char c, bool ignoreCase) {
    return ignoreCase ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
}

// Splits at commas outside brackets and not escaped.
std::vector<std::string_view> alternatives(std::string_view pattern) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    bool inSet = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '`') {
            ++i;
        } else if (inSet) {
            if (c == ']') inSet = false;
        } else if (c == '[') {
            inSet = true;
            // A ']' straight after '[' or '[~' belongs to the set.
            if (i + 1 < pattern.size() && pattern[i + 1] == '~') ++i;
            if (i + 1 < pattern.size() && pattern[i + 1] == ']') ++i;
        } else if (c == ',') {
            parts.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(pattern.substr(start));
    return parts;
}

class Matcher {
public:
    Matcher(std::string_view text, std::string_view pattern, bool ignoreCase)
        : text_(text), pattern_(pattern), ignoreCase_(ignoreCase) {}

    bool match(std::size_t t, std::size_t p) const {
        while (p < pattern_.size()) {
            char c = pattern_[p];
            if (c == '*') {
                while (p < pattern_.size() && pattern_[p] == '*') ++p;
                if (p == pattern_.size()) return true;
                for (std::size_t k = t; k <= text_.size(); ++k)
                    if (match(k, p)) return true;
                return false;
            }
            if (t >= text_.size()) return false;
            std::size_t next = p + 1;
            if (!single(text_[t], p, next)) return false;
            ++t;
            p = next;
        }
        return t == text_.size();
    }

private:
    // Whether one text character matches the pattern element at p; sets next past the element.
    bool single(char ch, std::size_t p, std::size_t& next) const {
        char c = pattern_[p];
        switch (c) {
            case '?': return true;
            case '#': return isDigit(ch);
            case '@': return isLetter(ch);
            case '.': return !isLetter(ch) && !isDigit(ch);
            case '`':
                if (p + 1 >= pattern_.size()) return fold(ch, ignoreCase_) == '`';
                next = p + 2;
                return fold(ch, ignoreCase_) == fold(pattern_[p + 1], ignoreCase_);
            case '[': return inSet(ch, p, next);
            default: return fold(ch, ignoreCase_) == fold(c, ignoreCase_);
        }
    }

    bool inSet(char ch, std::size_t p, std::size_t& next) const {
        std::size_t i = p + 1;
        bool negate = i < pattern_.size() && pattern_[i] == '~';
        if (negate) ++i;
        std::size_t first = i;
        bool found = false;
        char folded = fold(ch, ignoreCase_);
        while (i < pattern_.size() && (pattern_[i] != ']' || i == first)) {
            char lo = pattern_[i];
            if (lo == '`' && i + 1 < pattern_.size()) lo = pattern_[++i];
            char hi = lo;
            if (i + 2 < pattern_.size() && pattern_[i + 1] == '-' && pattern_[i + 2] != ']') {
                hi = pattern_[i + 2];
                i += 2;
            }
            char flo = fold(lo, ignoreCase_);
            char fhi = fold(hi, ignoreCase_);
            if ((folded >= flo && folded <= fhi) || (ch >= lo && ch <= hi)) found = true;
            ++i;
        }
        if (i >= pattern_.size()) {
            // No closing bracket: the '[' stands for itself.
            next = p + 1;
            return fold(ch, ignoreCase_) == '[';
        }
        next = i + 1;
        return found != negate;
    }

    std::string_view text_;
    std::string_view pattern_;
    bool ignoreCase_;
};

}  // namespace

bool wildcardMatch(std::string_view text, std::string_view pattern, bool ignoreCase) {
    // Most patterns are plain names ("INSERT", a block name): compared directly, without the
    // matcher, since a selection tries every entity of the drawing.
    if (pattern.find_first_of("*?#@.`[],~") == std::string_view::npos) {
        if (text.size() != pattern.size()) return false;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (fold(text[i], ignoreCase) != fold(pattern[i], ignoreCase)) return false;
        return true;
    }
    if (pattern.find(',') == std::string_view::npos) {
        // One alternative: no list to make.
        std::string_view alt = pattern;
        const bool negate = !alt.empty() && alt.front() == '~';
        if (negate) alt.remove_prefix(1);
        return Matcher(text, alt, ignoreCase).match(0, 0) != negate;
    }
    for (std::string_view alt : alternatives(pattern)) {
        bool negate = !alt.empty() && alt.front() == '~';
        if (negate) alt.remove_prefix(1);
        bool matched = Matcher(text, alt, ignoreCase).match(0, 0);
        if (matched != negate) return true;
    }
    return false;
}

}  // namespace cad
