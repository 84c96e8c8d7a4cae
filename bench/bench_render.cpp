// Phases of rendering a large drawing: reading it, measuring its extents, and drawing it to PDF and
// to a PNG. Prints CPU seconds per phase (on a shared machine the wall clock also counts others).
//
//   bench_render DRAWING.dxf [PNG_WIDTH]      default width 4000
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "engine/dxf/DxfDrawing.h"
#include "engine/render/DrawingRenderer.h"
#include "engine/render/FontLibrary.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DRAWING.dxf [PNG_WIDTH]\n", argv[0]);
        return 2;
    }
    const int width = argc > 2 ? std::atoi(argv[2]) : 4000;
    try {
        double t = cpuSeconds();
        cad::DxfDrawing drawing = cad::readDxfDrawing(argv[1]);
        std::printf("read      %.3f s\n", cpuSeconds() - t);
        {
            t = cpuSeconds();
            cad::FontLibrary fonts;
            cad::DrawingRenderer renderer(*drawing.database, fonts);
            const cad::Extents2d box = renderer.measure();
            std::printf("measure   %.3f s  (%.0f x %.0f drawing units)\n", cpuSeconds() - t, box.width(), box.height());
        }
        for (const char* out : {"/tmp/bench_render.pdf", "/tmp/bench_render.png"}) {
            cad::RenderOptions options;
            options.width = std::string(out).ends_with(".png") ? width : 1600;
            t = cpuSeconds();
            const cad::RenderResult r = cad::renderDrawingToFile(*drawing.database, options, out);
            if (!r.ok) {
                std::fprintf(stderr, "bench_render: %s\n", r.error.c_str());
                return 1;
            }
            std::printf("%-9s %.3f s  (measure and draw, %d x %d; %s)\n", std::string(out).ends_with(".png") ? "png" : "pdf", cpuSeconds() - t, r.width, r.height,
                        r.report.summary().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_render: %s\n", e.what());
        return 1;
    }
    return 0;
}
