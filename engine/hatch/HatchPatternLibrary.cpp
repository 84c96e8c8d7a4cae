#include "engine/hatch/HatchPatternLibrary.h"

#include <algorithm>
#include <cctype>

#include "engine/hatch/BuiltInPatterns.h"
#include "engine/hatch/PatFileParser.h"

namespace cad {

namespace {
constexpr double kMillimetresPerInch = 25.4;
}

bool patternNamesEqual(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

HatchPatternLibrary::HatchPatternLibrary(PatternUnits units) : units_(units) {
    for (auto& p : parsePatText(builtInPatternText(), "<built-in patterns>"))
        add(units == PatternUnits::Metric ? p.scaled(kMillimetresPerInch) : std::move(p));
}

std::size_t HatchPatternLibrary::loadFile(const std::filesystem::path& path) {
    auto loaded = parsePatFile(path);
    for (auto& p : loaded) add(std::move(p));
    return loaded.size();
}

std::size_t HatchPatternLibrary::loadText(std::string_view text, const std::string& source) {
    auto loaded = parsePatText(text, source);
    for (auto& p : loaded) add(std::move(p));
    return loaded.size();
}

void HatchPatternLibrary::add(HatchPattern pattern) {
    for (auto& p : patterns_)
        if (patternNamesEqual(p.name, pattern.name)) {
            p = std::move(pattern);
            return;
        }
    patterns_.push_back(std::move(pattern));
}

const HatchPattern* HatchPatternLibrary::find(std::string_view name) const {
    for (const auto& p : patterns_)
        if (patternNamesEqual(p.name, name)) return &p;
    return nullptr;
}

std::vector<std::string> HatchPatternLibrary::names() const {
    std::vector<std::string> out;
    out.reserve(patterns_.size());
    for (const auto& p : patterns_) out.push_back(p.name);
    return out;
}

}  // namespace cad
