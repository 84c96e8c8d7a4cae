#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "core/EXKorva.h"

// Gathers the failures of a loop that must not stop at the first bad element; the chains are
// reported after the loop. Owns every chain added to it.
class CKorvaExceptions {
public:
    CKorvaExceptions() = default;
    ~CKorvaExceptions();
    CKorvaExceptions(const CKorvaExceptions&) = delete;
    CKorvaExceptions& operator=(const CKorvaExceptions&) = delete;
    CKorvaExceptions(CKorvaExceptions&&) noexcept = default;
    CKorvaExceptions& operator=(CKorvaExceptions&&) noexcept = default;

    // Appends at the end; the kind of the exception is kept.
    void add(CEXKorva&& exception);
    void add(std::unique_ptr<CEXKorva> exception);

    std::size_t getCount() const { return count_; }
    // Throws std::out_of_range for an index at or beyond the count.
    CEXKorva& getAt(std::size_t index);
    const CEXKorva& getAt(std::size_t index) const;

    // One error message box per chain, in the order added.
    void showAll() const;
    // The command-line trace of every chain, in the order added.
    void printAll() const;
    // Deletes every chain and empties the collection.
    void deleteObjects();

    // Slots added when the array is full; 0 picks an eighth of the current size, 4 to 1024.
    void setGrowBy(std::size_t growBy) { growBy_ = growBy; }
    // Allocated slots (at least the count).
    std::size_t getSize() const { return slots_.size(); }

private:
    void grow();

    std::vector<std::unique_ptr<CEXKorva>> slots_;
    std::size_t count_ = 0;
    std::size_t growBy_ = 0;
};
