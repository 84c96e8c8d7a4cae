#include "engine/editor/Editor.h"
#include "engine/text/AsciiText.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <strings.h>

#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

namespace cad {

std::optional<double> parseRealText(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::string s(text);
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> parseIntegerText(std::string_view text) {
    text = trimBlanks(text);
    if (text.empty()) return std::nullopt;
    std::string s(text);
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(s.c_str(), &end, 10);
    if (end != s.c_str() + s.size() || errno == ERANGE || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

std::optional<Point3d> parsePointText(std::string_view text) {
    double v3[3] = {0, 0, 0};
    int count = 0;
    std::size_t start = 0;
    text = trimBlanks(text);
    while (true) {
        std::size_t comma = text.find(',', start);
        std::string_view part = text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (count == 3) return std::nullopt;
        auto v = parseRealText(part);
        if (!v) return std::nullopt;
        v3[count++] = *v;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (count < 2) return std::nullopt;
    return Point3d(v3[0], v3[1], v3[2]);
}

int Editor::read(std::string_view prompt, std::string& line) {
    auto answer = input_->readLine(prompt);
    if (!answer || trimBlanks(*answer) == "^C") {
        print("*Cancel*\n");
        return RTCAN;
    }
    line = std::move(*answer);
    return RTNORM;
}

int Editor::getLine(std::string_view prompt, std::string& value) { return read(prompt, value); }

int Editor::getInt(std::string_view prompt, int& value) {
    while (true) {
        std::string line;
        if (int rc = read(prompt, line); rc != RTNORM) return rc;
        if (trimBlanks(line).empty()) return RTNONE;
        if (auto v = parseIntegerText(line)) {
            value = *v;
            return RTNORM;
        }
        print("Requires an integer value.\n");
    }
}

int Editor::getReal(std::string_view prompt, double& value) {
    while (true) {
        std::string line;
        if (int rc = read(prompt, line); rc != RTNORM) return rc;
        if (trimBlanks(line).empty()) return RTNONE;
        if (auto v = parseRealText(line)) {
            value = *v;
            return RTNORM;
        }
        print("Requires a number.\n");
    }
}

int Editor::getString(bool allowSpaces, std::string_view prompt, std::string& value) {
    std::string line;
    if (int rc = read(prompt, line); rc != RTNORM) return rc;
    if (!allowSpaces) {
        std::string_view t = trimBlanks(line);
        auto blank = t.find_first_of(" \t");
        line = std::string(t.substr(0, blank));
    }
    value = std::move(line);
    return RTNORM;
}

int Editor::getPoint(std::string_view prompt, Point3d& value) {
    while (true) {
        std::string line;
        if (int rc = read(prompt, line); rc != RTNORM) return rc;
        if (trimBlanks(line).empty()) return RTNONE;
        if (auto p = parsePointText(line)) {
            value = ucs_.toWorld(*p);
            return RTNORM;
        }
        print("Invalid point: type x,y or x,y,z.\n");
    }
}

std::optional<std::string> Editor::matchKeyword(std::string_view keywords, std::string_view answer) {
    // "_Keyword" names the keyword whatever the language of the prompt.
    if (answer.size() > 1 && answer.front() == '_') answer.remove_prefix(1);
    std::vector<std::string> list;
    std::istringstream words{std::string(keywords)};
    for (std::string w; words >> w;) list.push_back(w);
    const std::string* found = nullptr;
    int prefixMatches = 0;
    for (const auto& k : list) {
        if (k.size() == answer.size() && strncasecmp(k.data(), answer.data(), k.size()) == 0) return k;
        if (k.size() > answer.size() && strncasecmp(k.data(), answer.data(), answer.size()) == 0) {
            found = &k;
            ++prefixMatches;
        }
    }
    if (found && prefixMatches == 1) return *found;
    return std::nullopt;
}

int Editor::getKeyword(std::string_view prompt, std::string_view keywords, std::string& value) {
    while (true) {
        std::string line;
        if (int rc = read(prompt, line); rc != RTNORM) return rc;
        std::string_view answer = trimBlanks(line);
        if (answer.empty()) return RTNONE;
        if (auto k = matchKeyword(keywords, answer)) {
            value = *k;
            return RTNORM;
        }
        print("Invalid option keyword.\n");
    }
}

int Editor::getPointOrKeyword(std::string_view prompt, std::string_view keywords, Point3d& point,
                              std::string& keyword) {
    while (true) {
        std::string line;
        if (int rc = read(prompt, line); rc != RTNORM) return rc;
        std::string_view answer = trimBlanks(line);
        if (answer.empty()) return RTNONE;
        if (auto p = parsePointText(answer)) {
            point = ucs_.toWorld(*p);
            return RTNORM;
        }
        if (auto k = matchKeyword(keywords, answer)) {
            keyword = *k;
            return RTKWORD;
        }
        print("Type a point (x,y) or an option.\n");
    }
}

}  // namespace cad
