#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

namespace cad {

// A set of handles, kept as bits for the dense numbers drawings use and as a list for the rest:
// the records given up while a drawing is read go in here, hundreds of thousands of them, and a
// sort of them all was a visible part of reading a large drawing.
class DxfHandleSet {
public:
    // Handles below this are bits (4 MB at most); above it, a list sorted once at the end.
    static constexpr std::uint64_t kDense = std::uint64_t{1} << 25;

    // False when the handle is known to be in the set already. A repeat among the large handles
    // is only found by finish().
    bool insert(std::uint64_t h) {
        if (h >= kDense) {
            sparse_.push_back(h);
            return true;
        }
        const std::size_t word = static_cast<std::size_t>(h >> 6);
        if (word >= bits_.size()) bits_.resize(std::max(word + 1, bits_.size() * 2));
        const std::uint64_t bit = std::uint64_t{1} << (h & 63);
        if (bits_[word] & bit) return false;
        bits_[word] |= bit;
        return true;
    }
    // Orders the large handles for contains(); false when one of them came twice.
    bool finish() {
        std::sort(sparse_.begin(), sparse_.end());
        return std::adjacent_find(sparse_.begin(), sparse_.end()) == sparse_.end();
    }
    // After finish().
    bool contains(std::uint64_t h) const {
        if (h >= kDense) return std::binary_search(sparse_.begin(), sparse_.end(), h);
        const std::size_t word = static_cast<std::size_t>(h >> 6);
        return word < bits_.size() && (bits_[word] >> (h & 63) & 1) != 0;
    }

private:
    std::vector<std::uint64_t> bits_;
    std::vector<std::uint64_t> sparse_;
};

}  // namespace cad
