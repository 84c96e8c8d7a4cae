// Invariants: a batch belongs to the scanning thread from when it is given back (or at the start)
// until it is counted in `filled_`, and to the reader from then until it is given back; the
// counters change only under the lock. Batches are reused, so a large file costs no more memory
// than a small one.
#include "engine/dxf/tags/DxfScanStream.h"

#include <system_error>

namespace cad {

DxfScanStream::DxfScanStream(std::shared_ptr<const SourceText> text, std::string fileName, bool keep)
    : scanner_(text, std::move(fileName)), keep_(keep) {
    if (text->size() < kAheadFrom) return;
    try {
        worker_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        // No thread to be had (a process at its limit): the text is scanned as it is asked for.
    }
}

DxfScanStream::~DxfScanStream() {
    if (!worker_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

DxfScanBatch& DxfScanStream::take() {
    DxfScanBatch& batch = batches_[taken_ % kBatches];
    if (!worker_.joinable()) {
        scanner_.fill(batch, keep_.load(std::memory_order_relaxed));
        ++filled_;
    } else {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return filled_ > taken_; });
    }
    ++taken_;
    return batch;
}

void DxfScanStream::giveBack() {
    {
        std::lock_guard lock(mutex_);
        ++given_;
    }
    changed_.notify_all();
}

void DxfScanStream::run() {
    for (;;) {
        DxfScanBatch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            // Waiting for the reader, who is building objects: their memory is faulted in here.
            while (!stop_ && filled_ - given_ >= kBatches) {
                lock.unlock();
                const bool more = warmer_.step();
                lock.lock();
                if (!more) break;
            }
            changed_.wait(lock, [this] { return stop_ || filled_ - given_ < kBatches; });
            if (stop_) return;
            batch = &batches_[filled_ % kBatches];
        }
        scanner_.fill(*batch, keep_.load(std::memory_order_relaxed));
        const bool last = batch->last;
        {
            std::lock_guard lock(mutex_);
            ++filled_;
        }
        changed_.notify_all();
        if (last) return;
    }
}

}  // namespace cad
