#include "engine/editor/LineHistory.h"

#include "engine/editor/AppDataFolder.h"
#include "engine/text/AsciiText.h"

#include <fstream>

namespace cad {

namespace {

// A file edited by hand may hold control characters; the editor shows one column per character.
std::string printable(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    for (char& ch : line)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f) ch = ' ';
    return line;
}

}  // namespace

LineHistory::LineHistory(std::filesystem::path file) : file_(std::move(file)) { load(); }

void LineHistory::load() {
    std::ifstream in(file_, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        line = printable(std::move(line));
        if (!trimBlanks(line).empty()) entries_.push_back(std::move(line));
    }
    if (entries_.size() > kLimit) entries_.erase(entries_.begin(), entries_.end() - kLimit);
}

void LineHistory::add(std::string_view line) {
    std::string_view trimmed = trimBlanks(line);
    if (trimmed.empty() || trimmed == "^C") return;
    if (!entries_.empty() && entries_.back() == line) return;
    entries_.emplace_back(line);
    if (entries_.size() > kLimit) entries_.erase(entries_.begin());
    append(entries_.back());
}

void LineHistory::append(const std::string& line) {
    if (file_.empty() || !writable_) return;
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    std::ofstream out(file_, std::ios::binary | std::ios::app);
    out << line << '\n';
    out.flush();
    // Once it fails it will keep failing; the session goes on with the history in memory.
    if (!out) writable_ = false;
}

void LineHistory::compact() {
    if (file_.empty() || !writable_) return;
    std::vector<std::string> lines;
    {
        std::ifstream in(file_, std::ios::binary);
        std::string line;
        while (in && std::getline(in, line)) lines.push_back(std::move(line));
    }
    if (lines.size() <= kLimit) return;
    std::filesystem::path temporary = file_;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (auto it = lines.end() - kLimit; it != lines.end(); ++it) out << *it << '\n';
        out.flush();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file_, ec);
    if (ec) std::filesystem::remove(temporary, ec);
}

std::filesystem::path LineHistory::defaultFile() { return appDataFolder() / "history"; }

}  // namespace cad
