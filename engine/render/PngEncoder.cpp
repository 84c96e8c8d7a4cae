#include "engine/render/PngEncoder.h"

#include <cairo.h>
#include <zlib.h>

#include <cstdint>
#include <future>
#include <vector>

namespace cad {

namespace {

// Pictures at least this many pixels are deflated on two threads.
constexpr std::size_t kParallelPixels = 2'000'000;

void putBigEndian(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v >> 24);
    out += static_cast<char>(v >> 16);
    out += static_cast<char>(v >> 8);
    out += static_cast<char>(v);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto* bytes = reinterpret_cast<const Bytef*>(out.data() + start);
    putBigEndian(out, static_cast<std::uint32_t>(crc32(0, bytes, static_cast<uInt>(out.size() - start))));
}

struct Piece {
    std::string deflated;
    uLong adler = 1;
    std::size_t length = 0;
    bool ok = false;
};

// Filtered rows [from, to) deflated raw; the last piece ends the stream, others flush to a byte
// boundary so that the next piece can follow.
Piece deflateRows(const unsigned char* data, int width, int stride, int from, int to, bool last) {
    Piece piece;
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3 + 1);
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return piece;
    std::vector<unsigned char> out(65536);
    auto drain = [&](int flush) {
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            if (deflate(&z, flush) == Z_STREAM_ERROR) return false;
            piece.deflated.append(reinterpret_cast<const char*>(out.data()), out.size() - z.avail_out);
        } while (z.avail_out == 0);
        return true;
    };
    bool ok = true;
    for (int y = from; y < to && ok; ++y) {
        // cairo keeps pixels as native-endian 32-bit xRGB words.
        const auto* px = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        row[0] = 1;  // filter: difference from the pixel on the left
        unsigned char pr = 0, pg = 0, pb = 0;
        for (int x = 0; x < width; ++x) {
            const auto r = static_cast<unsigned char>(px[x] >> 16), g = static_cast<unsigned char>(px[x] >> 8),
                       b = static_cast<unsigned char>(px[x]);
            row[1 + 3 * x] = static_cast<unsigned char>(r - pr);
            row[2 + 3 * x] = static_cast<unsigned char>(g - pg);
            row[3 + 3 * x] = static_cast<unsigned char>(b - pb);
            pr = r, pg = g, pb = b;
        }
        // The checksum is of the data before deflating.
        piece.adler = adler32(piece.adler, row.data(), static_cast<uInt>(row.size()));
        piece.length += row.size();
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        ok = drain(Z_NO_FLUSH);
    }
    ok = ok && drain(last ? Z_FINISH : Z_FULL_FLUSH);
    deflateEnd(&z);
    piece.ok = ok;
    return piece;
}

}  // namespace

std::string encodePng(cairo_surface_t* image, std::string& error) {
    cairo_surface_flush(image);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* data = cairo_image_surface_get_data(image);
    if (data == nullptr || width <= 0 || height <= 0 || cairo_image_surface_get_format(image) != CAIRO_FORMAT_RGB24) {
        error = "the picture is empty";
        return {};
    }
    const bool twoParts = static_cast<std::size_t>(width) * height >= kParallelPixels && height >= 2;
    const int split = twoParts ? height / 2 : height;
    std::future<Piece> second;
    if (twoParts) second = std::async(std::launch::async, deflateRows, data, width, stride, split, height, true);
    Piece first = deflateRows(data, width, stride, 0, split, !twoParts);
    std::string stream("\x78\x01", 2);  // zlib header: deflate, 32K window, fastest
    stream += first.deflated;
    uLong adler = first.adler;
    bool ok = first.ok;
    if (twoParts) {
        const Piece rest = second.get();
        ok = ok && rest.ok;
        stream += rest.deflated;
        adler = adler32_combine(adler, rest.adler, static_cast<z_off_t>(rest.length));
    }
    if (!ok) {
        error = "compressing the picture failed";
        return {};
    }
    putBigEndian(stream, static_cast<std::uint32_t>(adler));

    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string header;
    putBigEndian(header, static_cast<std::uint32_t>(width));
    putBigEndian(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, not interlaced
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", stream);
    putChunk(png, "IEND", {});
    return png;
}

}  // namespace cad
