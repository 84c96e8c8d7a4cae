#pragma once
#include <functional>
#include <string>

namespace cad {

class BatchCanvas;

enum class ImageFormat { Png, Svg, Pdf, Jpeg };

// Empty when the folder of `path` exists; otherwise a message naming the file and its folder.
std::string missingFolderError(const std::string& path);

// Makes a canvas of the format (PNG and JPEG: `pixelWidth` x `pixelHeight` pixels; PDF and SVG:
// `width` x `height` points), lets `draw` paint it (it returns what went wrong, or nothing), and
// writes the file through a temporary file renamed over `path`, so that a failure never leaves
// half a picture. False with `error` naming the file when it cannot.
bool writePicture(const std::string& path, ImageFormat format, double width, double height, int pixelWidth,
                  int pixelHeight, const std::function<std::string(BatchCanvas&)>& draw, std::string& error);

}  // namespace cad
