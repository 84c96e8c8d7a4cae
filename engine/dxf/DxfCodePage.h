#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "engine/text/Utf8.h"

namespace cad {

// Text encoding of a drawing file. Files before R2007 (AC1021) store text in the code page named
// by $DWGCODEPAGE and escape other characters as \U+XXXX (or \M+nXXXX for double-byte pages);
// from R2007 on they are UTF-8. In memory all text is UTF-8.
class DxfCodePage {
public:
    // name: the $DWGCODEPAGE value ("ANSI_1252", ...); utf8File: the file version is R2007 or later.
    // An unknown name falls back to ANSI_1252; known() then reports false.
    DxfCodePage(std::string_view name, bool utf8File);
    DxfCodePage(DxfCodePage&&) noexcept;
    DxfCodePage& operator=(DxfCodePage&&) noexcept;
    ~DxfCodePage();

    bool utf8File() const { return utf8File_; }
    bool known() const { return known_; }
    const std::string& name() const { return name_; }

    // File bytes to UTF-8, with \U+ and \M+ escapes resolved.
    std::string decode(std::string_view raw) const;
    // UTF-8 to file bytes; characters the code page lacks become \U+XXXX.
    std::string encode(std::string_view utf8) const;
    // The same for values that may hold control characters (a text's content, a prompt, a string
    // of extended data), which files write in caret notation: ^J a line feed, "^ " a caret. Names
    // are not values: a caret in a layer name is a caret.
    std::string decodeValue(std::string_view raw) const;
    std::string encodeValue(std::string_view utf8) const;

private:
    std::string decode(std::string_view raw, bool carets) const;
    std::string encode(std::string_view utf8, bool carets) const;

    struct Converters;
    std::string name_;
    bool utf8File_ = true;
    bool known_ = true;
    std::unique_ptr<Converters> conv_;
};


}  // namespace cad
