// Phases of rendering a large drawing: reading it, measuring its extents, and drawing it to PDF and
// to a PNG. Prints wall and CPU seconds per phase: drawing runs on two threads, so its CPU time
// exceeds its wall time; on a shared machine the wall clock also counts others' work.
//
//   bench_render DRAWING.dxf [PNG_WIDTH]      default width 4000
#include <sys/resource.h>

#include <chrono>
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

double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DRAWING.dxf [PNG_WIDTH]\n", argv[0]);
        return 2;
    }
    const int width = argc > 2 ? std::atoi(argv[2]) : 4000;
    try {
        double t = cpuSeconds(), w = wallSeconds();
        cad::DxfDrawing drawing = cad::readDxfDrawing(argv[1]);
        std::printf("read      %.3f s wall  %.3f s cpu\n", wallSeconds() - w, cpuSeconds() - t);
        {
            t = cpuSeconds(), w = wallSeconds();
            cad::FontLibrary fonts;
            cad::DrawingRenderer renderer(*drawing.database, fonts);
            const cad::Extents2d box = renderer.measure();
            std::printf("measure   %.3f s wall  %.3f s cpu  (%.0f x %.0f drawing units)\n", wallSeconds() - w,
                        cpuSeconds() - t, box.width(), box.height());
        }
        for (const char* out : {"/tmp/bench_render.pdf", "/tmp/bench_render.png"}) {
            cad::RenderOptions options;
            options.width = std::string(out).ends_with(".png") ? width : 1600;
            t = cpuSeconds(), w = wallSeconds();
            const cad::RenderResult r = cad::renderDrawingToFile(*drawing.database, options, out);
            if (!r.ok) {
                std::fprintf(stderr, "bench_render: %s\n", r.error.c_str());
                return 1;
            }
            std::printf("%-9s %.3f s wall  %.3f s cpu  (measure and draw, %d x %d; %s)\n",
                        std::string(out).ends_with(".png") ? "png" : "pdf", wallSeconds() - w, cpuSeconds() - t, r.width,
                        r.height, r.report.summary().c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_render: %s\n", e.what());
        return 1;
    }
    return 0;
}
