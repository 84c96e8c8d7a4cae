#pragma once
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cad {

// The lines typed at the terminal, oldest first, shared by every prompt. With a file the history
// outlives the session: it is read at start and each new line is appended at once, so a session
// that is killed loses nothing. A file that cannot be read or written is simply gone without.
class LineHistory {
public:
    static constexpr std::size_t kLimit = 500;

    // Memory only.
    LineHistory() = default;
    explicit LineHistory(std::filesystem::path file);

    // Adds a line unless it is blank, the cancel token, or the same as the line before.
    void add(std::string_view line);
    const std::vector<std::string>& entries() const { return entries_; }

    // Rewrites the file with only its last kLimit lines when it has grown beyond them.
    void compact();

    // <app data folder>/history
    static std::filesystem::path defaultFile();

private:
    void load();
    void append(const std::string& line);

    std::filesystem::path file_;
    std::vector<std::string> entries_;
    bool writable_ = true;
};

}  // namespace cad
