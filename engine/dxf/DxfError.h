#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cad {

// A drawing file that cannot be read or written. The message names the file and, when known,
// the line, so that a user can open the file and look.
// Text from a file made safe for a terminal: valid UTF-8 stays, and every byte that is not part of
// a valid sequence, and every control character but tab, shows as \xNN.
std::string terminalSafe(std::string_view text);

class DxfError : public std::runtime_error {
public:
    DxfError(const std::string& fileName, std::size_t line, const std::string& what);
    explicit DxfError(const std::string& what) : std::runtime_error(what) {}

    const std::string& fileName() const { return fileName_; }
    std::size_t line() const { return line_; }  // 1-based; 0 when no line applies

private:
    std::string fileName_;
    std::size_t line_ = 0;
};

}  // namespace cad
