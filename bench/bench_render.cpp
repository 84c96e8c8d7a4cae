// Phases of rendering a large drawing: reading it, measuring its extents, and drawing it to PDF and
// to a PNG. Prints wall and CPU seconds per phase: drawing runs on two threads, so its CPU time
// exceeds its wall time; on a shared machine the wall clock also counts others' work.
//
//   bench_render DRAWING.dxf [PNG_WIDTH [RUNS]]      defaults: width 4000, 1 run
//
// With RUNS above 1 the measuring and drawing are repeated on the drawing read once, and the
// medians printed: the way to compare two builds' drawing alone.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "bench/Median.h"
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
        const int runs = std::max(1, argc > 3 ? std::atoi(argv[3]) : 1);
        std::vector<double> wall[3], cpu[3];
        cad::Extents2d box;
        std::string summary[2];
        int size[2][2] = {};
        for (int run = 0; run < runs; ++run) {
            {
                t = cpuSeconds(), w = wallSeconds();
                cad::FontLibrary fonts;
                cad::DrawingRenderer renderer(*drawing.database, fonts);
                box = renderer.measure();
                wall[0].push_back(wallSeconds() - w);
                cpu[0].push_back(cpuSeconds() - t);
            }
            int k = 1;
            for (const char* out : {"/tmp/bench_render.pdf", "/tmp/bench_render.png"}) {
                cad::RenderOptions options;
                options.width = std::string(out).ends_with(".png") ? width : 1600;
                t = cpuSeconds(), w = wallSeconds();
                const cad::RenderResult r = cad::renderDrawingToFile(*drawing.database, options, out);
                if (!r.ok) {
                    std::fprintf(stderr, "bench_render: %s\n", r.error.c_str());
                    return 1;
                }
                wall[k].push_back(wallSeconds() - w);
                cpu[k].push_back(cpuSeconds() - t);
                summary[k - 1] = r.report.summary();
                size[k - 1][0] = r.width;
                size[k - 1][1] = r.height;
                ++k;
            }
        }
        const char* of = runs > 1 ? " (medians)" : "";
        std::printf("measure   %.3f s wall  %.3f s cpu  (%.0f x %.0f drawing units)%s\n", median(wall[0]),
                    median(cpu[0]), box.width(), box.height(), of);
        for (int k = 1; k < 3; ++k)
            std::printf("%-9s %.3f s wall  %.3f s cpu  (measure and draw, %d x %d; %s)%s\n", k == 1 ? "pdf" : "png",
                        median(wall[k]), median(cpu[k]), size[k - 1][0], size[k - 1][1], summary[k - 1].c_str(), of);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_render: %s\n", e.what());
        return 1;
    }
    return 0;
}
