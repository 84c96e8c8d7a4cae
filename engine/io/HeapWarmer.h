#pragma once
#include <cstdint>

namespace cad {

// Faults in, ahead of use, pages that the allocator's main heap has taken from the system and no
// one has touched yet. On virtual machines whose host takes back memory left free, the first touch
// of each page costs the thread that makes it about 1.5 ms a megabyte: a thread that would
// otherwise wait can pay that instead of the one building objects. The contents do not change
// (fresh pages read as zeros either way), so this is safe beside the allocator at any time. It
// has something to do only while the heap runs ahead of use: the launcher asks the allocator to
// take memory 4 MB at a time beyond what it needs (glibc.malloc.top_pad).
class HeapWarmer {
public:
    HeapWarmer();
    // Faults in the next piece, up to 2 MB; false when every page the heap has is in, or the
    // system cannot do it.
    bool step();

private:
    std::uintptr_t done_ = 0;  // the heap is in below this
    bool unsupported_ = false;
};

}  // namespace cad
