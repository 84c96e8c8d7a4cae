// Invariants: the reading thread owns the chunk it holds, the splitting thread the ones it fills;
// a chunk changes hands only under the lock. Chunks are reused, so a large file costs no more
// memory than a small one.
#include "engine/dxf/tags/DxfTagStream.h"

#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

namespace cad {

class DxfTagStream::ReadAhead {
public:
    explicit ReadAhead(const DxfTokenizer& tokenizer) {
        for (Chunk& c : chunks_) c.tags.reserve(kChunkTags);
        worker_ = std::thread([this, tokenizer] { split(tokenizer); });
    }

    ~ReadAhead() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        worker_.join();
    }

    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Valid until the next call, which may hand the chunk back.
    const DxfTag* next() {
        for (;;) {
            if (held_ != nullptr) {
                if (index_ < held_->tags.size()) return &held_->tags[index_++];
                if (held_->last) {
                    if (held_->error) std::rethrow_exception(held_->error);
                    ended_ = true;
                    return nullptr;
                }
                giveBack();
            }
            take();
        }
    }

    // The tags of the held chunk not taken yet, now taken: they stay valid until next().
    std::span<const DxfTag> takeRest() {
        if (held_ == nullptr) return {};
        std::span<const DxfTag> rest(held_->tags.data() + index_, held_->tags.size() - index_);
        index_ = held_->tags.size();
        return rest;
    }

    // Where the tag after the last one taken starts, and its line.
    std::size_t offset(std::size_t start) const {
        if (held_ == nullptr) return start;
        if (index_ < held_->tags.size()) return held_->tags[index_].offset;
        return ended_ ? held_->finalOffset : held_->endOffset;
    }
    std::size_t line(std::size_t start) const {
        if (held_ == nullptr) return start;
        if (index_ < held_->tags.size()) return held_->tags[index_].line;
        return ended_ ? held_->finalLine : held_->endLine;
    }

private:
    static constexpr std::size_t kChunkTags = 8192;
    static constexpr std::size_t kChunks = 4;

    struct Chunk {
        std::vector<DxfTag> tags;
        std::size_t endOffset = 0, endLine = 0;  // the tokenizer's position after the last tag
        // In the last chunk, its position once it found no more: past a blank last line.
        std::size_t finalOffset = 0, finalLine = 0;
        bool last = false;                       // the buffer ends, or the error, in this chunk
        std::exception_ptr error;
    };

    void take() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return taken_ < filled_; });
        held_ = &chunks_[taken_ % kChunks];
        index_ = 0;
    }

    void giveBack() {
        {
            std::lock_guard lock(mutex_);
            ++taken_;
            held_ = nullptr;
        }
        changed_.notify_all();
    }

    void split(DxfTokenizer tokenizer) {
        for (;;) {
            Chunk* chunk = nullptr;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return stop_ || filled_ - taken_ < kChunks; });
                if (stop_) return;
                chunk = &chunks_[filled_ % kChunks];
            }
            chunk->tags.clear();
            DxfTag tag;
            try {
                while (chunk->tags.size() < kChunkTags) {
                    // Where the tokenizer stands before a tag it may not find, or fail on.
                    chunk->endOffset = tokenizer.offset();
                    chunk->endLine = tokenizer.line();
                    if (!tokenizer.next(tag)) {
                        chunk->last = true;
                        break;
                    }
                    chunk->tags.push_back(tag);
                }
                if (!chunk->last) {
                    chunk->endOffset = tokenizer.offset();
                    chunk->endLine = tokenizer.line();
                }
                chunk->finalOffset = tokenizer.offset();
                chunk->finalLine = tokenizer.line();
            } catch (...) {
                chunk->error = std::current_exception();
                chunk->last = true;
            }
            const bool last = chunk->last;
            {
                std::lock_guard lock(mutex_);
                ++filled_;
            }
            changed_.notify_all();
            if (last) return;
        }
    }

    std::array<Chunk, kChunks> chunks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t filled_ = 0, taken_ = 0;  // chunks handed over and handed back, counted from the start
    bool stop_ = false;
    Chunk* held_ = nullptr;  // the reader's
    std::size_t index_ = 0;
    bool ended_ = false;  // next() has said there are no more
    std::thread worker_;
};

DxfTagStream::DxfTagStream(const DxfTokenizer& tokenizer) : tokenizer_(tokenizer) {
    if (tokenizer.buffer().size() - tokenizer.offset() < kReadAheadFrom) return;
    try {
        ahead_ = std::make_unique<ReadAhead>(tokenizer);
    } catch (const std::system_error&) {
        // No thread to be had (a process at its limit): the tags are split as they are read.
    }
}

DxfTagStream::~DxfTagStream() = default;

const DxfTag* DxfTagStream::refill() {
    if (!ahead_) return tokenizer_.next(current_) ? &current_ : nullptr;
    const DxfTag* tag = ahead_->next();
    if (tag != nullptr) {
        const std::span<const DxfTag> rest = ahead_->takeRest();
        cur_ = rest.data();
        end_ = rest.data() + rest.size();
    }
    return tag;
}

bool DxfTagStream::next(DxfTag& tag) {
    const DxfTag* t = next();
    if (t == nullptr) return false;
    tag = *t;
    return true;
}

std::size_t DxfTagStream::offset() const {
    if (cur_ != end_) return cur_->offset;
    return ahead_ ? ahead_->offset(tokenizer_.offset()) : tokenizer_.offset();
}

std::size_t DxfTagStream::line() const {
    if (cur_ != end_) return cur_->line;
    return ahead_ ? ahead_->line(tokenizer_.line()) : tokenizer_.line();
}

}  // namespace cad
