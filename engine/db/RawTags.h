#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/io/SourceText.h"

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
// byte for byte. Whoever holds one keeps the text alive some other way (objects: their database).
struct SourceRef {
    const SourceText* text = nullptr;
    std::size_t offset = 0, length = 0;

    bool empty() const { return !text || length == 0; }
    std::string_view view() const {
        if (empty()) return {};
        return text->view().substr(offset, length);
    }
};

// The same, sharing ownership of the text (sections and tables kept whole).
struct SourceSpan {
    std::shared_ptr<const SourceText> text;
    std::size_t offset = 0, length = 0;

    SourceRef ref() const { return {text.get(), offset, length}; }
    bool empty() const { return ref().empty(); }
    std::string_view view() const { return ref().view(); }
};

}  // namespace cad
