#pragma once
#include <string>
#include <string_view>

namespace cad {

// Symbol names (layers, blocks, styles, applications ...) compare ignoring ASCII case; the key
// is the upper-case form.
bool symbolNamesEqual(std::string_view a, std::string_view b);
std::string symbolNameKey(std::string_view text);

enum class SymbolNameRule {
    Plain,      // layers, linetypes, styles, applications ...
    Block,      // may also be anonymous: a leading '*' (e.g. "*U12", "*Model_Space")
};

// Whether `name` can be written to a DXF file as a symbol name: not empty, at most 255 bytes, no
// control characters, none of < > / \ " : ; ? * | , = ` (a leading '*' is allowed for blocks), and
// no leading or trailing blank.
bool isValidSymbolName(std::string_view name, SymbolNameRule rule = SymbolNameRule::Plain);

}  // namespace cad
