#pragma once
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/hatch/HatchPattern.h"

namespace cad {

// Pattern names compare without regard to ASCII letter case.
bool patternNamesEqual(std::string_view a, std::string_view b);

// Pattern units follow the drawing's measurement system: imperial drawings use the patterns
// as written (inches), metric ones the same shapes in millimetres.
enum class PatternUnits { Imperial, Metric };

// The named patterns a drawing can hatch with: the built-in set plus patterns from users' .pat
// files. Names are matched without regard to letter case; a loaded pattern replaces a
// built-in or earlier one of the same name.
class HatchPatternLibrary {
public:
    explicit HatchPatternLibrary(PatternUnits units = PatternUnits::Metric);

    PatternUnits units() const { return units_; }
    // Throws PatParseError naming the file and line. Patterns in the file are taken to be in
    // this library's units already. Returns the number of patterns read.
    std::size_t loadFile(const std::filesystem::path& path);
    std::size_t loadText(std::string_view text, const std::string& source);
    void add(HatchPattern pattern);

    const HatchPattern* find(std::string_view name) const;
    bool contains(std::string_view name) const { return find(name) != nullptr; }
    std::vector<std::string> names() const;
    std::size_t size() const { return patterns_.size(); }

private:
    PatternUnits units_;
    std::vector<HatchPattern> patterns_;
};

}  // namespace cad
