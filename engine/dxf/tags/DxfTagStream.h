#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "engine/dxf/tags/DxfTokenizer.h"

namespace cad {

// The tags of a whole buffer in order, as DxfTokenizer gives them. A large buffer is split on a
// second thread a little ahead of the reader, which spends its own time on what the tags mean;
// errors of the text still surface at the tag where the tokenizer met them.
class DxfTagStream {
public:
    // Buffers from this size on are read ahead.
    static constexpr std::size_t kReadAheadFrom = std::size_t{1} << 20;

    explicit DxfTagStream(const DxfTokenizer& tokenizer);
    ~DxfTagStream();
    DxfTagStream(const DxfTagStream&) = delete;
    DxfTagStream& operator=(const DxfTagStream&) = delete;

    // As DxfTokenizer::next.
    bool next(DxfTag& tag);
    // The same without a copy: the next tag, or null at the clean end; valid until the next call.
    // Inline while tags are at hand: a large drawing takes millions.
    const DxfTag* next() { return cur_ != end_ ? cur_++ : refill(); }
    std::size_t offset() const;  // where the next tag starts
    std::size_t line() const;    // line of the next tag
    std::string_view lineEnding() const { return tokenizer_.lineEnding(); }
    [[noreturn]] void fail(std::size_t line, const std::string& message) const {
        tokenizer_.fail(line, message);
    }

private:
    class ReadAhead;

    // The next tag when none is at hand; makes the rest of a chunk read ahead the tags at hand.
    const DxfTag* refill();

    DxfTokenizer tokenizer_;  // read in place when the buffer is small
    DxfTag current_;          // the tag read in place
    const DxfTag* cur_ = nullptr;  // tags at hand, in a chunk the reader holds
    const DxfTag* end_ = nullptr;
    std::unique_ptr<ReadAhead> ahead_;
};

}  // namespace cad
