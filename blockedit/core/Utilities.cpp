#include "core/Utilities.h"

#include <locale.h>

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <fmt/format.h>

#include "core/EXKinds.h"
#include "core/KorvaWrap.h"
#include "engine/api/Text.h"

namespace {

constexpr const char* kFile = __FILE__;
constexpr const char* kColourSource = "CUtilities";

// Numbers are written and read with '.' whatever locale the host process runs in.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

class ScopedCLocale {
public:
    ScopedCLocale() : previous_(uselocale(cLocale())) {}
    ~ScopedCLocale() { uselocale(previous_); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t previous_;
};

template <typename... Args>
std::string formatC(const char* format, Args... args) {
    ScopedCLocale locale;
    std::string text(64, '\0');
    int size = std::snprintf(text.data(), text.size(), format, args...);
    if (size < 0) return {};
    if (static_cast<std::size_t>(size) >= text.size()) {
        text.resize(static_cast<std::size_t>(size) + 1);
        size = std::snprintf(text.data(), text.size(), format, args...);
    }
    text.resize(static_cast<std::size_t>(size));
    return text;
}

// The fixed-point conversion: the digits without sign and point, where the point stands
// (0 or less: that many zeros follow it before the digits) and whether the value is negative.
struct FixedDigits {
    std::string digits;
    int pointPosition = 0;
    bool negative = false;
};

FixedDigits fixedPointDigits(double value, int precision) {
    FixedDigits result;
    // A double has at most 1074 decimals; beyond that the digits are zeros, added here rather
    // than asked of the C library.
    constexpr int kExactDecimals = 1100;
    std::string text = formatC("%.*f", std::min(precision, kExactDecimals), value);
    if (precision > kExactDecimals && std::isfinite(value))
        text.append(static_cast<std::size_t>(precision - kExactDecimals), '0');
    if (!text.empty() && text[0] == '-') {
        result.negative = true;
        text.erase(0, 1);
    }
    const std::size_t point = text.find('.');
    std::string whole = point == std::string::npos ? text : text.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (whole == "0") {
        // Leading zeros of the fraction move the point to the left.
        const std::size_t firstNonZero = fraction.find_first_not_of('0');
        const std::size_t zeros = firstNonZero == std::string::npos ? fraction.size() : firstNonZero;
        result.pointPosition = -static_cast<int>(zeros);
        result.digits = fraction.substr(zeros);
    } else {
        result.pointPosition = static_cast<int>(whole.size());
        result.digits = whole + fraction;
    }
    return result;
}


bool isUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool isUpperHexString(const std::string& text) { return std::all_of(text.begin(), text.end(), isUpperHexDigit); }

}  // namespace

std::string CUtilities::BoolToCString(bool value) {
    return korvaWrap(kFile, "CUtilities::BoolToCString", [&] { return std::string(value ? "1" : "0"); });
}

bool CUtilities::CStringToBOOL(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToBOOL", [&] {
        static constexpr const char* kTrue[] = {"1", "t", "tr", "tru", "true", "y", "ye", "yes"};
        return std::any_of(std::begin(kTrue), std::end(kTrue), [&](const char* t) { return text == t; });
    });
}

int CUtilities::CStringToInt(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToInt", [&] {
        if (!isNumeric(text)) return 0;
        // Out-of-range values saturate, as the runtime's to-integer conversion does.
        const long long value = std::strtoll(text.c_str(), nullptr, 10);
        return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    });
}

long CUtilities::CStringToLong(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToLong", [&] {
        return isNumeric(text) ? std::strtol(text.c_str(), nullptr, 10) : 0L;
    });
}

std::int64_t CUtilities::CStringToInt64(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToInt64", [&] {
        return isNumeric(text) ? static_cast<std::int64_t>(std::strtoll(text.c_str(), nullptr, 10))
                               : std::int64_t{0};
    });
}

double CUtilities::CStringToDouble(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToDouble",
                     [&] { return strtod_l(text.c_str(), nullptr, cLocale()); });
}

std::string CUtilities::CStringToSTDString(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::CStringToSTDString", [&] { return text; });
}

std::string CUtilities::IntToCString(int value) {
    return korvaWrap(kFile, "CUtilities::IntToCString", [&] { return std::to_string(value); });
}

std::string CUtilities::LongToCString(long value) {
    return korvaWrap(kFile, "CUtilities::LongToCString", [&] { return std::to_string(value); });
}

namespace {
// A double's exact decimal expansion ends by the 1074th decimal; past that come only zeros.
constexpr int kMostDecimals = 1100;
}  // namespace

std::string CUtilities::DoubleToCString(double value, int precision) {
    return korvaWrap(kFile, "CUtilities::DoubleToCString", [&] {
        std::string result;
        // A precision read from a damaged file must not decide how much memory a number takes.
        precision = std::min(precision, kMostDecimals);
        if (precision < 0) {
            result = formatC("%-g", value);
        } else {
            const FixedDigits fixed = fixedPointDigits(value, precision);
            if (fixed.negative) result += '-';
            if (fixed.pointPosition <= 0) {
                result += "0.";
                result.append(static_cast<std::size_t>(-fixed.pointPosition), '0');
                result += fixed.digits;
            } else {
                const auto split = std::min(static_cast<std::size_t>(fixed.pointPosition), fixed.digits.size());
                result += fixed.digits.substr(0, split);
                result += '.';
                result += fixed.digits.substr(split);
            }
        }
        if (!result.empty() && result.back() == '.') result.pop_back();
        if (!result.empty() && result.front() == '.') result.insert(0, "0");
        return result;
    });
}

int CUtilities::DoubleToInt(double value) {
    return korvaWrap(kFile, "CUtilities::DoubleToInt", [&] { return CStringToInt(DoubleToCString(value, 0)); });
}

double CUtilities::roundDouble(double value, int precision) {
    return korvaWrap(kFile, "CUtilities::roundDouble",
                     [&] { return CStringToDouble(DoubleToCString(value, precision)); });
}

bool CUtilities::isNumeric(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::isNumeric", [&] {
        if (text.empty() || text == "-" || text == "." || text == "-.") return false;
        int points = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '-') {
                if (i != 0) return false;
            } else if (c == '.') {
                if (++points > 1) return false;
            } else if (!(c == ',' || (c >= '0' && c <= '9'))) {
                return false;
            }
        }
        return true;
    });
}

void CUtilities::makeNumeric(std::string& text) {
    korvaWrap(kFile, "CUtilities::makeNumeric", [&] {
        if (text.empty()) {
            text = "0";
            return;
        }
        std::string kept;
        bool pointKept = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if ((c >= '0' && c <= '9') || c == ',' || (c == '-' && i == 0)) {
                kept += c;
            } else if (c == '.' && !pointKept) {
                kept += c;
                pointKept = true;
            }
        }
        text = std::move(kept);
    });
}

int CUtilities::occurrenceCount(const std::string& pattern, const std::string& text) {
    return korvaWrap(kFile, "CUtilities::occurrenceCount", [&] {
        int count = 0;
        std::size_t position = 0;
        // The first search starts at index 1, each further one just after the previous hit.
        while ((position = text.find(pattern, position + 1)) != std::string::npos) ++count;
        return count;
    });
}

std::string CUtilities::padding(int count, const std::string& piece) {
    return korvaWrap(kFile, "CUtilities::padding", [&] {
        std::string result;
        for (int i = 0; i < count; ++i) result += piece;
        return result;
    });
}

std::string CUtilities::replaceInvalidCharacters(const std::string& text, const std::string& replacement) {
    return korvaWrap(kFile, "CUtilities::replaceInvalidCharacters", [&] {
        static constexpr std::string_view kInvalid = "\\/:*?\"<>|=';(),";
        std::string result;
        for (const char c : text) {
            if (kInvalid.find(c) != std::string_view::npos)
                result += replacement;
            else
                result += c;
        }
        return result;
    });
}

int CUtilities::_httoi(const std::string& text) {
    return korvaWrap(kFile, "CUtilities::_httoi", [&] {
        const std::string hex = cad::toUpperAscii(text);
        std::size_t i = hex.compare(0, 2, "0X") == 0 ? 2 : 0;
        std::uint32_t value = 0;
        for (; i < hex.size() && isUpperHexDigit(hex[i]); ++i) {
            const char c = hex[i];
            value = (value << 4) + static_cast<std::uint32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
        }
        return static_cast<int>(value);
    });
}

void CUtilities::validteHexString(const std::string& text) {
    korvaWrapPassing<CEXInvalidHexColour>(kFile, "CUtilities::validteHexString", [&] {
        if (!isUpperHexString(text))
            throw CEXInvalidHexColour(text, kColourSource, kFile, "CUtilities::validteHexString");
    });
}

// The colour helpers let a CEXInvalidHexColour through unwrapped: the caller's trace then ends
// with the colour text that was refused, one level below the function that asked for it.
void CUtilities::parseHashString(const std::string& text, std::string& red, std::string& green, std::string& blue) {
    korvaWrapPassing<CEXInvalidHexColour>(kFile, "CUtilities::parseHashString", [&] {
        const auto refuse = [&] {
            throw CEXInvalidHexColour(text, kColourSource, kFile, "CUtilities::parseHashString");
        };
        if (text.empty()) refuse();
        std::string digits = cad::toUpperAscii(text);
        if (digits.front() == '#') digits.erase(0, 1);
        if (!isUpperHexString(digits) || digits.size() != 6) refuse();
        red = digits.substr(0, 2);
        green = digits.substr(2, 2);
        blue = digits.substr(4, 2);
    });
}

void CUtilities::hashColourToAcad(const std::string& text, cad::Color& colour) {
    korvaWrapPassing<CEXInvalidHexColour>(kFile, "CUtilities::hashColourToAcad", [&] {
        std::string red, green, blue;
        parseHashString(text, red, green, blue);
        colour = cad::Color::fromRgb(static_cast<std::uint8_t>(_httoi(red) % 256),
                                     static_cast<std::uint8_t>(_httoi(green) % 256),
                                     static_cast<std::uint8_t>(_httoi(blue) % 256));
    });
}

std::string CUtilities::acadColourToHash(const cad::Color& colour) {
    return korvaWrap(kFile, "CUtilities::acadColourToHash", [&] {
        return cad::toUpperAscii(fmt::format("#{:02x}{:02x}{:02x}", colour.red(), colour.green(), colour.blue()));
    });
}
