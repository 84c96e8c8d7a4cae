#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/hatch/HatchPattern.h"

namespace cad {

// A .pat text that cannot be read; what() is "<source>:<line>: <problem>" (line 0 when the
// problem is the file as a whole).
class PatParseError : public std::runtime_error {
public:
    PatParseError(std::string source, int line, const std::string& problem);
    const std::string& source() const { return source_; }
    int line() const { return line_; }

private:
    std::string source_;
    int line_;
};

// Reads hatch patterns in .pat syntax: "*NAME[, description]" starts a pattern, each following
// line "angle, x-origin, y-origin, delta-x, delta-y [, dash ...]" adds a line family, ";" starts
// a comment. `source` names the text in error messages.
std::vector<HatchPattern> parsePatText(std::string_view text, const std::string& source);
std::vector<HatchPattern> parsePatFile(const std::filesystem::path& path);

}  // namespace cad
