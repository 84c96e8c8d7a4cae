#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace cad {

// What a file that cannot be a text DXF looks like, told from its first bytes: a DWG drawing, a
// binary DXF, UTF-16 text, a known binary format or plain binary data. Empty when the file may
// be DXF text, which the tokenizer then reads (and names the line where it goes wrong).
// The text completes "<file>: ..." and says what to do about it.
std::optional<std::string> describeNonDxf(std::string_view head);

}  // namespace cad
