#pragma once
#include <cstdint>
#include <string>

#include "engine/api/Drawing.h"

// Conversions between values and the texts the module writes into attributes, XData, files,
// parameters and messages, and '#RRGGBB' colour texts. Texts are UTF-8.
class CUtilities {
public:
    static std::string BoolToCString(bool value);
    // True only for "1", "t", "tr", "tru", "true", "y", "ye", "yes" (exact case).
    static bool CStringToBOOL(const std::string& text);
    // The leading integer of a numeric text (see isNumeric), 0 for any other text.
    static int CStringToInt(const std::string& text);
    static long CStringToLong(const std::string& text);
    static std::int64_t CStringToInt64(const std::string& text);
    // The leading number of the text, unchecked: 0.0 when there is none.
    static double CStringToDouble(const std::string& text);
    // Texts are already 8-bit (UTF-8) here; kept for the callers that convert.
    static std::string CStringToSTDString(const std::string& text);
    static std::string IntToCString(int value);
    static std::string LongToCString(long value);

    // `precision` decimals, fixed-point; a negative precision gives the "%-g" form. A text that
    // would end with "." loses it.
    static std::string DoubleToCString(double value, int precision);
    static int DoubleToInt(double value);
    static double roundDouble(double value, int precision);

    // Digits and commas anywhere, "-" only first, at most one "."; not "", "-", "." or "-.".
    static bool isNumeric(const std::string& text);
    // Keeps digits, commas, a leading "-" and the first "."; an empty text becomes "0".
    static void makeNumeric(std::string& text);

    // Occurrences of pattern in text that start at index 1 or later; overlaps count.
    static int occurrenceCount(const std::string& pattern, const std::string& text);
    static std::string padding(int count, const std::string& piece);
    // Replaces each of \ / : * ? " < > | = ' ; ( ) , by `replacement`.
    static std::string replaceInvalidCharacters(const std::string& text, const std::string& replacement);

    // Leading hexadecimal digits (after an optional "0x") as an integer.
    static int _httoi(const std::string& text);
    // Throws CEXInvalidHexColour unless every character is 0-9 or A-F.
    static void validteHexString(const std::string& text);
    // "#rrggbb" (hash optional, any case) into the upper-case pairs "RR", "GG", "BB".
    static void parseHashString(const std::string& text, std::string& red, std::string& green, std::string& blue);
    static void hashColourToAcad(const std::string& text, cad::Color& colour);
    static std::string acadColourToHash(const cad::Color& colour);
};
