# Writes a header holding a file's bytes as a string_view constant, so the file stays the one
# place its text is edited. Run as:
#   cmake -DINPUT=<file> -DOUTPUT=<header> -DNAME=<identifier> -P EmbedText.cmake
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}.new"
"#pragma once
// Generated at build time from ${source}; edit that file instead.
#include <string_view>

inline constexpr char ${NAME}Bytes[${size} + 1] = {
    ${bytes}'\\0'};
inline constexpr std::string_view ${NAME}(${NAME}Bytes, ${size});
")
# Only a changed text touches the header, so unchanged stylesheets cost no recompilation.
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
