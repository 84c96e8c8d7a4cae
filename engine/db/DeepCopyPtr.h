#pragma once
#include <memory>

namespace cad {

// An optional part of a copyable object, on the heap so that objects without it stay small;
// copying the object copies the part.
template <class T>
class DeepCopyPtr {
public:
    DeepCopyPtr() = default;
    DeepCopyPtr(const DeepCopyPtr& other) : p_(other.p_ ? std::make_unique<T>(*other.p_) : nullptr) {}
    DeepCopyPtr& operator=(const DeepCopyPtr& other) {
        if (this != &other) p_ = other.p_ ? std::make_unique<T>(*other.p_) : nullptr;
        return *this;
    }
    DeepCopyPtr(DeepCopyPtr&&) noexcept = default;
    DeepCopyPtr& operator=(DeepCopyPtr&&) noexcept = default;

    // The part, or `fallback` when there is none.
    const T& orDefault(const T& fallback) const { return p_ ? *p_ : fallback; }
    T& make() {
        if (!p_) p_ = std::make_unique<T>();
        return *p_;
    }

private:
    std::unique_ptr<T> p_;
};

}  // namespace cad
