#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/db/ErrorStatus.h"
#include "engine/geometry/CoordinateSystem.h"
#include "engine/geometry/Point3d.h"

namespace cad {

class LineInput;

// Parses "x,y" or "x,y,z"; nothing when the text is not a point.
std::optional<Point3d> parsePointText(std::string_view text);
// Parses a whole text as a number; nothing when anything but blanks is left over.
std::optional<double> parseRealText(std::string_view text);
std::optional<int> parseIntegerText(std::string_view text);

// Prompts on the command line. Each call shows its prompt, reads a line from the current input and
// returns RTNORM with the answer, RTNONE for an empty line (where an empty answer is not itself a
// value), or RTCAN for "^C" or the end of the input. A wrong answer is explained and asked again.
class Editor {
public:
    explicit Editor(LineInput& input) : input_(&input) {}

    void setInput(LineInput& input) { input_ = &input; }
    LineInput& input() { return *input_; }

    int getInt(std::string_view prompt, int& value);
    int getReal(std::string_view prompt, double& value);
    // Without spaces the answer ends at its first blank. An empty line is an empty answer (RTNORM).
    int getString(bool allowSpaces, std::string_view prompt, std::string& value);
    // The point is typed in the current UCS and returned in world coordinates.
    int getPoint(std::string_view prompt, Point3d& value);
    // Keywords are separated by blanks; an answer matches a keyword in full or by a prefix that
    // only it has, in any letter case. The keyword is returned as it is written in the list.
    int getKeyword(std::string_view prompt, std::string_view keywords, std::string& value);
    // A point or one of the keywords: RTNORM with the point, RTKWORD with the keyword, RTNONE for
    // an empty line, RTCAN when cancelled.
    int getPointOrKeyword(std::string_view prompt, std::string_view keywords, Point3d& point, std::string& keyword);
    // One raw line: RTNORM (possibly empty) or RTCAN.
    int getLine(std::string_view prompt, std::string& value);

    CoordinateSystem& ucs() { return ucs_; }
    const CoordinateSystem& ucs() const { return ucs_; }

private:
    // The keyword of the list that the answer names, in full or by a prefix only it has.
    static std::optional<std::string> matchKeyword(std::string_view keywords, std::string_view answer);
    // Reads an answer; RTCAN (with the cancel shown) for ^C or end of input.
    int read(std::string_view prompt, std::string& line);

    LineInput* input_;
    CoordinateSystem ucs_;
};

}  // namespace cad
