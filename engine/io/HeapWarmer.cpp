#include "engine/io/HeapWarmer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace cad {

namespace {

constexpr std::uintptr_t kPiece = std::uintptr_t{2} << 20;

std::uintptr_t heapEnd() { return reinterpret_cast<std::uintptr_t>(::sbrk(0)); }

}  // namespace

// What lies below the end of the heap when this starts has been touched, or soon will be.
HeapWarmer::HeapWarmer() : done_(heapEnd()) {}

bool HeapWarmer::step() {
    if (unsupported_) return false;
    const std::uintptr_t end = heapEnd();
    if (done_ >= end) return false;
    // Up to the next boundary of a huge page.
    const std::uintptr_t to = std::min(end, (done_ + kPiece) & ~(kPiece - 1));
    if (::madvise(reinterpret_cast<void*>(done_), to - done_, MADV_POPULATE_WRITE) != 0 && errno == EINVAL) {
        // A kernel from before 5.14.
        unsupported_ = true;
        return false;
    }
    // A heap that shrank meanwhile (ENOMEM) has nothing there to fill.
    done_ = to;
    return true;
}

}  // namespace cad
