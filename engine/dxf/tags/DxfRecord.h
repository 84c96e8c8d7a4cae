#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace cad {

// A stretch of the file: one entity, object, table entry, header variable ... (everything from
// its `0` tag, or `9` tag in HEADER, to the next one). Unless replaced it is written back byte for
// byte, which keeps whatever the reader does not understand.
struct DxfRecord {
    std::string_view type;   // the `0` value (or the header variable name), blanks trimmed
    std::size_t offset = 0;  // source span in the document's buffer
    std::uint64_t handle = 0;    // 0 when the record has none
    std::uint64_t owner = 0;     // the 330 before the first subclass marker
    std::shared_ptr<const std::string> replacement;  // new text when changed or added
    // Narrow, as a drawing has hundreds of thousands of records.
    std::uint32_t length = 0;
    std::uint32_t line = 0;  // line of the opening group code; 0 for records made in memory

    bool changed() const { return replacement != nullptr; }
};

}  // namespace cad
