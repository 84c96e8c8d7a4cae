#include "engine/hatch/PatFileParser.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/hatch/HatchPatternLibrary.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

// Pattern files come from Windows editors as often as not, so a carriage return is a blank.
constexpr std::string_view kPatBlanks = " \t\r";

// Long dash lists are legal but a line with hundreds of numbers is a broken file.
constexpr std::size_t kMaxDashes = 64;

bool parseNumber(std::string_view field, double& value) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    auto [ptr, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    return ec == std::errc{} && ptr == field.data() + field.size() && std::isfinite(value);
}

}  // namespace

PatParseError::PatParseError(std::string source, int line, const std::string& problem)
    : std::runtime_error(source + ":" + std::to_string(line) + ": " + problem),
      source_(std::move(source)),
      line_(line) {}

std::vector<HatchPattern> parsePatText(std::string_view text, const std::string& source) {
    std::vector<HatchPattern> patterns;
    int headerLine = 0;
    auto finishPattern = [&]() {
        if (patterns.empty()) return;
        const HatchPattern& p = patterns.back();
        if (p.lines.empty() && !p.isSolid())
            throw PatParseError(source, headerLine, "pattern " + p.name + " has no line definitions");
    };

    int lineNo = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = text.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNo;
        if (lineNo == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (auto semi = line.find(';'); semi != std::string_view::npos) line = line.substr(0, semi);
        line = trimBlanks(line, kPatBlanks);
        if (line.empty()) continue;

        if (line.front() == '*') {
            finishPattern();
            std::string_view rest = line.substr(1);
            std::string_view name = rest, description;
            if (auto comma = rest.find(','); comma != std::string_view::npos) {
                name = rest.substr(0, comma);
                description = trimBlanks(rest.substr(comma + 1), kPatBlanks);
            }
            name = trimBlanks(name, kPatBlanks);
            if (name.empty()) throw PatParseError(source, lineNo, "pattern name missing after '*'");
            for (const auto& p : patterns)
                if (patternNamesEqual(p.name, name))
                    throw PatParseError(source, lineNo,
                                        "pattern " + std::string(name) + " is defined twice");
            patterns.push_back({std::string(name), std::string(description), {}});
            headerLine = lineNo;
            continue;
        }

        if (patterns.empty())
            throw PatParseError(source, lineNo, "line definition before the first *NAME header");

        std::vector<double> numbers;
        std::size_t start = 0;
        int field = 0;
        while (true) {
            ++field;
            std::size_t comma = line.find(',', start);
            std::string_view f = trimBlanks(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start), kPatBlanks);
            if (f.empty() && comma == std::string_view::npos && field > 1) break;  // trailing comma
            double v = 0;
            if (!parseNumber(f, v))
                throw PatParseError(source, lineNo,
                                    "field " + std::to_string(field) + " is not a number: \"" +
                                        std::string(f) + "\"");
            numbers.push_back(v);
            if (comma == std::string_view::npos) break;
            start = comma + 1;
        }
        if (numbers.size() < 5)
            throw PatParseError(source, lineNo,
                                "a line definition needs angle, x-origin, y-origin, delta-x, "
                                "delta-y; found " + std::to_string(numbers.size()) + " number(s)");
        if (numbers.size() - 5 > kMaxDashes)
            throw PatParseError(source, lineNo,
                                "more than " + std::to_string(kMaxDashes) + " dash lengths");
        HatchPatternLine l;
        l.angle = numbers[0];
        l.origin = {numbers[1], numbers[2]};
        l.offset = {numbers[3], numbers[4]};
        l.dashes.assign(numbers.begin() + 5, numbers.end());
        if (!l.dashes.empty()) {
            bool drawsSomething = false;
            for (double d : l.dashes) drawsSomething = drawsSomething || d >= 0;
            if (!drawsSomething)
                throw PatParseError(source, lineNo, "the dash list has only gaps");
        }
        patterns.back().lines.push_back(std::move(l));
    }
    finishPattern();
    return patterns;
}

std::vector<HatchPattern> parsePatFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PatParseError(path.string(), 0, "cannot open the pattern file");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw PatParseError(path.string(), 0, "cannot read the pattern file");
    return parsePatText(text.str(), path.string());
}

}  // namespace cad
