#pragma once
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/dxf/tags/DxfScanner.h"
#include "engine/io/HeapWarmer.h"
#include "engine/io/SourceText.h"

namespace cad {

// The scanner's batches in order. A large text is scanned on a second thread a little ahead of
// the reader, which spends its own time on what the records mean; a small one as it is asked for.
class DxfScanStream {
public:
    // Texts from this size on are scanned ahead.
    static constexpr std::size_t kAheadFrom = std::size_t{1} << 20;
    // Batches a reader may hold at once.
    static constexpr std::size_t kHeld = 3;

    // Tags are kept in the batches while `keep` is set.
    DxfScanStream(std::shared_ptr<const SourceText> text, std::string fileName, bool keep);
    ~DxfScanStream();
    DxfScanStream(const DxfScanStream&) = delete;
    DxfScanStream& operator=(const DxfScanStream&) = delete;

    // The next batch; it stays the caller's until given back. Not to be called while kHeld are
    // held, nor after the batch that is `last`.
    DxfScanBatch& take();
    // Gives back the oldest batch taken.
    void giveBack();
    // From the next batch on, no tags are kept.
    void stopKeeping() { keep_.store(false, std::memory_order_relaxed); }
    bool readingAhead() const { return worker_.joinable(); }

private:
    static constexpr std::size_t kBatches = kHeld + 3;

    void run();

    DxfScanner scanner_;
    std::atomic<bool> keep_;
    std::array<DxfScanBatch, kBatches> batches_;
    // Batches filled, handed to the reader and handed back, counted from the start.
    std::size_t filled_ = 0, taken_ = 0, given_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stop_ = false;
    HeapWarmer warmer_;  // the scanning thread's, for when it waits
    std::thread worker_;  // last: started once everything above is in place
};

}  // namespace cad
