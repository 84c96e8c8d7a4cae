#pragma once
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// The persistent name of an object: 64 bits, written as upper-case hexadecimal without leading
// zeros. The null handle (0) names nothing.
class Handle {
public:
    constexpr Handle() = default;
    constexpr explicit Handle(std::uint64_t value) : value_(value) {}

    constexpr std::uint64_t value() const { return value_; }
    constexpr bool isNull() const { return value_ == 0; }

    std::string toString() const;
    // 1 to 16 hexadecimal digits of either case, surrounding blanks allowed; nothing else.
    static std::optional<Handle> parse(std::string_view text);

    constexpr Handle next() const { return Handle(value_ + 1); }

    constexpr auto operator<=>(const Handle&) const = default;

private:
    std::uint64_t value_ = 0;
};

}  // namespace cad

template <>
struct std::hash<cad::Handle> {
    std::size_t operator()(const cad::Handle& h) const noexcept {
        return std::hash<std::uint64_t>{}(h.value());
    }
};
