#pragma once
#include <compare>
#include <cstdint>
#include <functional>

namespace cad {

// Names an object inside one open database for as long as the database lives: an index into its
// object table. Cheap to copy; the null id names nothing. Across sessions objects are named by
// their Handle instead.
class ObjectId {
public:
    constexpr ObjectId() = default;
    constexpr explicit ObjectId(std::uint32_t index) : index_(index) {}

    constexpr std::uint32_t index() const { return index_; }
    constexpr bool isNull() const { return index_ == 0; }
    constexpr explicit operator bool() const { return index_ != 0; }

    constexpr auto operator<=>(const ObjectId&) const = default;

private:
    std::uint32_t index_ = 0;
};

}  // namespace cad

template <>
struct std::hash<cad::ObjectId> {
    std::size_t operator()(const cad::ObjectId& id) const noexcept {
        return std::hash<std::uint32_t>{}(id.index());
    }
};
