#pragma once
#include <string>

typedef struct _cairo_surface cairo_surface_t;

namespace cad {

// Writes an image surface as a baseline JPEG; false with `error` set when it cannot.
bool writeJpeg(cairo_surface_t* image, const std::string& path, int quality, std::string& error);

// Moves the finished temporary file over `path`; false with `error` set when it cannot.
bool replaceFile(const std::string& temporary, const std::string& path, std::string& error);

// Empty when the folder of `path` exists; otherwise a message naming the file and its folder.
std::string missingFolderError(const std::string& path);

// A temporary name beside `path`, in the same folder so that the rename stays on one file system.
std::string temporaryNameFor(const std::string& path);

}  // namespace cad
