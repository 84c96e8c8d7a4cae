#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cad {

// One DXF group as read: the code and the value text exactly as it stood in the file (line end
// stripped). Used for everything the database keeps without understanding it.
struct RawTag {
    int code = 0;
    std::string value;

    friend bool operator==(const RawTag&, const RawTag&) = default;
};
using RawTagList = std::vector<RawTag>;

// A stretch of the text an object was read from, so that an unchanged object can be written back
// byte for byte. The buffer is shared by every object of the file.
struct SourceSpan {
    std::shared_ptr<const std::string> buffer;
    std::size_t offset = 0, length = 0;

    bool empty() const { return !buffer || length == 0; }
    std::string_view view() const {
        if (empty()) return {};
        return std::string_view(*buffer).substr(offset, length);
    }
};

}  // namespace cad
