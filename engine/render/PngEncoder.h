#pragma once
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// PNG bytes of an RGB24 image surface: 8-bit RGB, each row filtered by its left neighbour and
// deflated at zlib's fastest level, which suits drawings (mostly white with thin lines) far
// better than a generic encoder's effort. A large picture is deflated in two halves at once;
// the halves join into one valid stream. Empty with `error` set when it fails.
std::string encodePng(cairo_surface_t* image, std::string& error);

}  // namespace cad
