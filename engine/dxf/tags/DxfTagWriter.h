#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cad {

// Appends tags to a text buffer the way CAD programs lay them out: group codes right-aligned to
// width 3, 16-bit integers right-aligned to width 6, reals with the shortest text that reads back
// to the same double.
class DxfTagWriter {
public:
    explicit DxfTagWriter(std::string& out, std::string_view lineEnding = "\r\n") : out_(out), eol_(lineEnding) {}

    void string(int code, std::string_view value);
    void integer(int code, std::int64_t value);
    void real(int code, double value);
    // A value given as text, written as it is except that numeric codes are re-laid out.
    void tag(int code, std::string_view value);
    void raw(std::string_view bytes) { out_.append(bytes); }

    std::string_view lineEnding() const { return eol_; }
    std::string& buffer() { return out_; }

    // Told every tag after it is written (value given for string tags only); null for none.
    using Observer = std::function<void(int code, std::string_view value)>;
    void setObserver(const Observer* observer) { observer_ = observer; }

private:
    void code(int c);
    void written(int c, std::string_view value) {
        if (observer_) (*observer_)(c, value);
    }
    std::string& out_;
    std::string eol_;
    const Observer* observer_ = nullptr;
};

// Shortest round-trip text of a double, e.g. "0.0", "1.5", "1.0E+20".
std::string formatDxfReal(double value);

}  // namespace cad
