#include "engine/editor/SelectionInput.h"

#include <strings.h>

#include "engine/editor/Editor.h"

namespace cad {

namespace {

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace

std::optional<std::uint64_t> parseHandleText(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.empty() || text.size() > 16) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    if (value == 0) return std::nullopt;
    return value;
}

std::optional<SelectionLine> parseSelectionLine(std::string_view line, std::string& error) {
    auto w = words(line);
    if (w.empty()) {
        error = "Nothing to select.";
        return std::nullopt;
    }
    SelectionLine s;
    auto readPoints = [&](std::size_t from, std::size_t minimum, std::size_t maximum) {
        for (std::size_t i = from; i < w.size(); ++i) {
            auto p = parsePointText(w[i]);
            if (!p) {
                error = "\"" + std::string(w[i]) + "\" is not a point: type x,y or x,y,z.";
                return false;
            }
            s.points.push_back(*p);
        }
        if (s.points.size() < minimum || s.points.size() > maximum) {
            error = minimum == maximum ? "Type " + std::string(w[0]) + " and two corners, e.g. W 0,0 10,10."
                                       : "Type CP and three corners or more, e.g. CP 0,0 10,0 5,8.";
            return false;
        }
        return true;
    };
    if (same(w[0], "ALL")) {
        if (w.size() != 1) {
            error = "ALL takes nothing after it.";
            return std::nullopt;
        }
        s.mode = SelectionLine::Mode::All;
        return s;
    }
    if (same(w[0], "W") || same(w[0], "C")) {
        s.mode = same(w[0], "W") ? SelectionLine::Mode::Window : SelectionLine::Mode::Crossing;
        if (!readPoints(1, 2, 2)) return std::nullopt;
        return s;
    }
    if (same(w[0], "CP")) {
        s.mode = SelectionLine::Mode::CrossingPolygon;
        if (!readPoints(1, 3, static_cast<std::size_t>(-1))) return std::nullopt;
        return s;
    }
    if (w.size() == 1 && w[0].find(',') != std::string_view::npos) {
        auto p = parsePointText(w[0]);
        if (!p) {
            error = "\"" + std::string(w[0]) + "\" is not a point: type x,y or x,y,z.";
            return std::nullopt;
        }
        s.mode = SelectionLine::Mode::Point;
        s.points.push_back(*p);
        return s;
    }
    s.mode = SelectionLine::Mode::Handles;
    for (auto word : w) {
        auto h = parseHandleText(word);
        if (!h) {
            error = "\"" + std::string(word) + "\" is neither a handle nor a selection mode (ALL, W, C, CP).";
            return std::nullopt;
        }
        s.handles.push_back(*h);
    }
    return s;
}

}  // namespace cad
