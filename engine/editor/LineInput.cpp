#include "engine/editor/LineInput.h"

#include "engine/editor/HostOutput.h"

namespace cad {

namespace {

bool isComment(const std::string& line) {
    auto first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] == ';';
}

}  // namespace

void ScriptInput::addLine(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines_.push_back(std::move(line));
}

void ScriptInput::addText(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        addLine(std::string(text.substr(start, end - start)));
        start = end + 1;
    }
}

bool ScriptInput::giveBack(std::string line) {
    lines_.push_front(std::move(line));
    return true;
}

void ScriptInput::skipComments() {
    while (!lines_.empty() && isComment(lines_.front())) lines_.pop_front();
}

bool ScriptInput::atEnd() const {
    for (const auto& line : lines_)
        if (!isComment(line)) return false;
    return true;
}

std::optional<std::string> ScriptInput::readLine(std::string_view prompt) {
    skipComments();
    print(prompt);
    if (lines_.empty()) return std::nullopt;
    std::string line = std::move(lines_.front());
    lines_.pop_front();
    print(line + "\n");
    return line;
}

std::optional<std::string> StreamInput::readLine(std::string_view prompt) {
    print(prompt);
    std::string line;
    if (ended_ || !std::getline(in_, line)) {
        ended_ = true;
        print("\n");
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

}  // namespace cad
