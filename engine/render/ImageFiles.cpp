#include "engine/render/ImageFiles.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

#include "engine/io/AtomicFile.h"
#include "engine/render/BatchCanvas.h"
#include "engine/render/CairoTarget.h"
#include "engine/render/PdfTarget.h"
#include "engine/render/PngEncoder.h"

namespace cad {

namespace {

// Passes cairo's output to the file's sink; what the sink throws is kept for after cairo returns.
struct StreamTarget {
    const ContentSink* sink = nullptr;
    std::exception_ptr failure;
};

cairo_status_t writeToSink(void* closure, const unsigned char* data, unsigned int length) {
    auto* target = static_cast<StreamTarget*>(closure);
    if (target->failure) return CAIRO_STATUS_WRITE_ERROR;
    try {
        (*target->sink)(std::string_view(reinterpret_cast<const char*>(data), length));
        return CAIRO_STATUS_SUCCESS;
    } catch (...) {
        target->failure = std::current_exception();
        return CAIRO_STATUS_WRITE_ERROR;
    }
}

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

// A baseline JPEG of an RGB24 image surface, in memory; empty with `error` set when it fails.
std::string encodeJpeg(cairo_surface_t* image, int quality, std::string& error) {
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (data == nullptr || width <= 0 || height <= 0) {
        error = "the picture is empty";
        return {};
    }
    jpeg_compress_struct info{};
    JpegErrors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegFailed;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    if (setjmp(errors.back) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        error = errors.message;
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
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
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

using SurfacePtr = std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)>;

}  // namespace

std::string missingFolderError(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (folder.empty() || std::filesystem::is_directory(folder, ec)) return {};
    return "cannot write \"" + path + "\": the folder \"" + folder.string() + "\" does not exist";
}

bool writePicture(const std::string& path, ImageFormat format, double width, double height, int pixelWidth,
                  int pixelHeight, const std::function<std::string(BatchCanvas&)>& draw, std::string& error) {
    try {
        if (format == ImageFormat::Png || format == ImageFormat::Jpeg) {
            // Pictures are drawn in memory first: nothing touches the file until they are done.
            SurfacePtr image(cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixelWidth, pixelHeight),
                             cairo_surface_destroy);
            if (cairo_surface_status(image.get()) != CAIRO_STATUS_SUCCESS)
                throw FileWriteError(cairo_status_to_string(cairo_surface_status(image.get())));
            {
                CairoTarget target(image.get());
                BatchCanvas canvas(target);
                const std::string problem = draw(canvas);
                if (!problem.empty()) throw FileWriteError(problem);
            }
            std::string encodeError;
            const std::string encoded = format == ImageFormat::Jpeg ? encodeJpeg(image.get(), 92, encodeError)
                                                                    : encodePng(image.get(), encodeError);
            if (!encodeError.empty()) throw FileWriteError(encodeError);
            replaceFileAtomically(path, [&](const ContentSink& sink) { sink(encoded); });
        } else if (format == ImageFormat::Pdf) {
            PdfTarget target(width, height);
            {
                BatchCanvas canvas(target);
                const std::string problem = draw(canvas);
                if (!problem.empty()) throw FileWriteError(problem);
            }
            replaceFileAtomically(path, [&](const ContentSink& sink) { target.write(sink); });
        } else {
            // An SVG surface writes as it draws: the drawing happens inside the file's writing.
            replaceFileAtomically(path, [&](const ContentSink& sink) {
                StreamTarget target{&sink, nullptr};
                SurfacePtr surface(cairo_svg_surface_create_for_stream(writeToSink, &target, width, height),
                                   cairo_surface_destroy);
                if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
                    throw FileWriteError(cairo_status_to_string(cairo_surface_status(surface.get())));
                std::string problem;
                {
                    CairoTarget cairo(surface.get());
                    BatchCanvas canvas(cairo);
                    problem = draw(canvas);
                }
                cairo_surface_finish(surface.get());
                if (target.failure) std::rethrow_exception(target.failure);
                if (!problem.empty()) throw FileWriteError(problem);
                if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
                    throw FileWriteError(cairo_status_to_string(cairo_surface_status(surface.get())));
            });
        }
    } catch (const std::exception& e) {
        error = "cannot write \"" + path + "\": " + e.what();
        return false;
    }
    return true;
}

}  // namespace cad
