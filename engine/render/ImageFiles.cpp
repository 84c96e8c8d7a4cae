#include "engine/render/ImageFiles.h"

#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include <jpeglib.h>
#include <csetjmp>

namespace cad {

namespace {

// libjpeg ends the process on an error unless its handler jumps out.
struct JpegErrors {
    jpeg_error_mgr manager{};
    std::jmp_buf back{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void jpegFailed(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->back, 1);
}

}  // namespace

bool writeJpeg(cairo_surface_t* image, const std::string& path, int quality, std::string& error) {
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (data == nullptr || width <= 0 || height <= 0) {
        error = "cannot write \"" + path + "\": the picture is empty";
        return false;
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        error = "cannot write \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    jpeg_compress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_compress(&info);
        std::fclose(out);
        error = "cannot write \"" + path + "\": " + errors.message;
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // cairo keeps pixels as native-endian 32-bit xRGB words.
        const auto* px = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(info.next_scanline) * stride);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>((px[x] >> 16) & 0xFF);
            row[3 * x + 1] = static_cast<unsigned char>((px[x] >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<unsigned char>(px[x] & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const bool ok = std::fclose(out) == 0;
    if (!ok) error = "cannot write \"" + path + "\": " + std::strerror(errno);
    return ok;
}

std::string missingFolderError(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(folder, ec)) return {};
    return "cannot write \"" + path + "\": the folder \"" + folder.string() + "\" does not exist";
}

std::string temporaryNameFor(const std::string& path) {
    const std::filesystem::path p(path);
    return (p.parent_path() / ("." + p.filename().string() + ".tmp" + std::to_string(::getpid()))).string();
}

bool replaceFile(const std::string& temporary, const std::string& path, std::string& error) {
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    if (!ec) return true;
    std::filesystem::remove(temporary, ec);
    error = "cannot write \"" + path + "\": " + ec.message();
    return false;
}

}  // namespace cad
