#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace cad {

// The text a drawing was read from, shared by everything that keeps a span of it. A large file is
// mapped read-only rather than copied: its text then stays in the page cache, and pages the
// program is done with can be handed back (they are read again from the file if ever needed), so
// the drawing's text does not count twice against the process's memory.
class SourceText {
public:
    explicit SourceText(std::string text);
    SourceText(const SourceText&) = delete;
    SourceText& operator=(const SourceText&) = delete;
    ~SourceText();

    // The text of an open file: mapped when it is a large regular file, read whole otherwise.
    // Throws std::system_error when it cannot be read.
    static std::shared_ptr<const SourceText> fromFile(int fd);

    std::string_view view() const { return view_; }
    std::size_t size() const { return view_.size(); }
    bool mapped() const { return map_ != nullptr; }
    // A hint that [begin, end) is not needed for a while: the mapped pages wholly inside it leave
    // the process's resident memory. The text stays readable.
    void release(std::size_t begin, std::size_t end) const;

private:
    SourceText() = default;

    std::string owned_;
    void* map_ = nullptr;
    std::size_t mapLength_ = 0;
    std::string_view view_;
};

}  // namespace cad
