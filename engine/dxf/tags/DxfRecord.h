#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cad {

// A stretch of the file: one entity, object, table entry, header variable ... (everything from
// its `0` tag, or `9` tag in HEADER, to the next one). Unless replaced it is written back byte for
// byte, which keeps whatever the reader does not understand.
struct DxfRecord {
    std::size_t offset = 0;    // source span in the document's buffer
    std::uint64_t handle = 0;  // 0 when the record has none
    std::uint64_t owner = 0;   // the 330 before the first subclass marker
    // Narrow, as a drawing has hundreds of thousands of records: a view and a shared text would
    // take 16 bytes more each.
    const char* typeData = "";
    std::uint32_t typeLength = 0;
    std::uint32_t length = 0;
    std::uint32_t line = 0;  // line of the opening group code; 0 for records made in memory
    // 1 + the index of the new text in the document's replacements when changed or added, else 0.
    std::uint32_t replacement = 0;

    // The `0` value (or the header variable name), blanks trimmed: a view of the document's text
    // or of a literal.
    std::string_view type() const { return {typeData, typeLength}; }
    void setType(std::string_view type) {
        typeData = type.data();
        typeLength = static_cast<std::uint32_t>(type.size());
    }
    bool changed() const { return replacement != 0; }
};
static_assert(sizeof(DxfRecord) <= 48, "records are kept by the hundred thousand");

}  // namespace cad
