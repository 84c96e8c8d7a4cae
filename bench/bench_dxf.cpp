// Reads and writes a large synthetic floor plan: 10,000 rooms (block references with three
// attributes and XDATA, each with its outline) and 50,000 furniture references.
// Usage: bench_dxf [folder]   (default: the system temporary folder)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/editor/MemorySetup.h"
#include "engine/dxf/DxfDatabaseReader.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfFile.h"
#include "engine/dxf/tags/DxfHandle.h"
#include "engine/dxf/tags/DxfTagWriter.h"

namespace {

constexpr int kRooms = 10000;
constexpr int kAssets = 50000;
constexpr int kOutlineVertices = 96;

struct Handles {
    std::uint64_t next = 0x100;
    std::string operator()() { return cad::formatDxfHandle(next++); }
};

void tableHead(cad::DxfTagWriter& w, const char* name, const std::string& handle, int count) {
    w.string(0, "TABLE");
    w.string(2, name);
    w.string(5, handle);
    w.string(330, "0");
    w.string(100, "AcDbSymbolTable");
    w.integer(70, count);
}

void entityHead(cad::DxfTagWriter& w, const char* type, Handles& h, const std::string& owner, const char* layer) {
    w.string(0, type);
    w.string(5, h());
    w.string(330, owner);
    w.string(100, "AcDbEntity");
    w.string(8, layer);
}

std::string generate() {
    std::string out;
    out.reserve(64u << 20);
    cad::DxfTagWriter w(out, "\r\n");
    Handles h;
    w.string(0, "SECTION");
    w.string(2, "HEADER");
    w.string(9, "$ACADVER");
    w.string(1, "AC1032");
    w.string(9, "$DWGCODEPAGE");
    w.string(3, "ANSI_1252");
    w.string(9, "$HANDSEED");
    w.string(5, "1");  // deliberately low: the writer must raise it
    w.string(0, "ENDSEC");

    w.string(0, "SECTION");
    w.string(2, "TABLES");
    tableHead(w, "LAYER", "2", 3);
    for (const char* name : {"0", "ROOMS", "FURNITURE"}) {
        w.string(0, "LAYER");
        w.string(5, h());
        w.string(330, "2");
        w.string(100, "AcDbSymbolTableRecord");
        w.string(100, "AcDbLayerTableRecord");
        w.string(2, name);
        w.integer(70, 0);
        w.integer(62, 7);
        w.string(6, "Continuous");
    }
    w.string(0, "ENDTAB");
    tableHead(w, "APPID", "3", 2);
    for (const char* name : {"ACAD", "ROOMDATA"}) {
        w.string(0, "APPID");
        w.string(5, h());
        w.string(330, "3");
        w.string(100, "AcDbSymbolTableRecord");
        w.string(100, "AcDbRegAppTableRecord");
        w.string(2, name);
        w.integer(70, 0);
    }
    w.string(0, "ENDTAB");
    tableHead(w, "BLOCK_RECORD", "4", 4);
    const std::string model = "10", paper = "11", room = "12", chair = "13";
    for (auto [handle, name] : {std::pair{model, "*Model_Space"}, std::pair{paper, "*Paper_Space"},
                                std::pair{room, "ROOM"}, std::pair{chair, "CHAIR"}}) {
        w.string(0, "BLOCK_RECORD");
        w.string(5, handle);
        w.string(330, "4");
        w.string(100, "AcDbSymbolTableRecord");
        w.string(100, "AcDbBlockTableRecord");
        w.string(2, name);
    }
    w.string(0, "ENDTAB");
    w.string(0, "ENDSEC");

    w.string(0, "SECTION");
    w.string(2, "BLOCKS");
    for (auto [handle, name] : {std::pair{model, "*Model_Space"}, std::pair{paper, "*Paper_Space"},
                                std::pair{room, "ROOM"}, std::pair{chair, "CHAIR"}}) {
        entityHead(w, "BLOCK", h, handle, "0");
        w.string(100, "AcDbBlockBegin");
        w.string(2, name);
        w.integer(70, std::string(name) == "ROOM" ? 2 : 0);
        w.real(10, 0);
        w.real(20, 0);
        w.real(30, 0);
        w.string(3, name);
        w.string(1, "");
        if (std::string(name) == "ROOM") {
            for (const char* tag : {"NAME", "NUMBER", "AREA"}) {
                entityHead(w, "ATTDEF", h, handle, "0");
                w.string(100, "AcDbText");
                w.real(10, 0);
                w.real(20, 0);
                w.real(30, 0);
                w.real(40, 0.25);
                w.string(1, "");
                w.string(100, "AcDbAttributeDefinition");
                w.string(3, tag);
                w.string(2, tag);
                w.integer(70, 0);
            }
        } else if (std::string(name) == "CHAIR") {
            entityHead(w, "CIRCLE", h, handle, "0");
            w.string(100, "AcDbCircle");
            w.real(10, 0);
            w.real(20, 0);
            w.real(30, 0);
            w.real(40, 0.3);
        }
        entityHead(w, "ENDBLK", h, handle, "0");
        w.string(100, "AcDbBlockEnd");
    }
    w.string(0, "ENDSEC");

    w.string(0, "SECTION");
    w.string(2, "ENTITIES");
    for (int i = 0; i < kRooms; ++i) {
        const double x = (i % 100) * 12.0, y = (i / 100) * 9.0;
        entityHead(w, "LWPOLYLINE", h, model, "ROOMS");
        w.string(100, "AcDbPolyline");
        w.integer(90, kOutlineVertices);
        w.integer(70, 1);
        w.real(43, 0);
        for (int v = 0; v < kOutlineVertices; ++v) {
            const double t = v / double(kOutlineVertices);
            w.real(10, x + 10.0 * t + 0.123456789);
            w.real(20, y + 8.0 * (v % 2) + 0.987654321);
        }
        entityHead(w, "INSERT", h, model, "ROOMS");
        const std::string insert = cad::formatDxfHandle(h.next - 1);
        w.string(100, "AcDbBlockReference");
        w.integer(66, 1);
        w.string(2, "ROOM");
        w.real(10, x);
        w.real(20, y);
        w.real(30, 0);
        w.string(1001, "ROOMDATA");
        w.string(1000, "room-" + std::to_string(i));
        w.integer(1070, i % 7);
        w.real(1040, 80.0 + i % 13);
        const std::string values[3] = {"Office " + std::to_string(i), std::to_string(1000 + i),
                                       std::to_string(80 + i % 13) + ".00"};
        const char* tags[3] = {"NAME", "NUMBER", "AREA"};
        for (int a = 0; a < 3; ++a) {
            entityHead(w, "ATTRIB", h, insert, "ROOMS");
            w.string(100, "AcDbText");
            w.real(10, x + 1);
            w.real(20, y + 1 + a * 0.5);
            w.real(30, 0);
            w.real(40, 0.25);
            w.string(1, values[a]);
            w.string(100, "AcDbAttribute");
            w.string(2, tags[a]);
            w.integer(70, 0);
        }
        entityHead(w, "SEQEND", h, insert, "ROOMS");
    }
    for (int i = 0; i < kAssets; ++i) {
        entityHead(w, "INSERT", h, model, "FURNITURE");
        w.string(100, "AcDbBlockReference");
        w.string(2, "CHAIR");
        w.real(10, (i % 250) * 4.8 + 0.5);
        w.real(20, (i / 250) * 4.5 + 0.5);
        w.real(30, 0);
        w.real(50, (i % 4) * 90.0);
    }
    w.string(0, "ENDSEC");
    w.string(0, "SECTION");
    w.string(2, "OBJECTS");
    w.string(0, "DICTIONARY");
    w.string(5, h());
    w.string(330, "0");
    w.string(100, "AcDbDictionary");
    w.integer(281, 1);
    w.string(0, "ENDSEC");
    w.string(0, "EOF");
    return out;
}

double seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

double cpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

long peakRssKb() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

// Runs one measurement in a fresh process so that its peak memory is its own.
template <class F>
void inChild(F f) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        int rc = 0;
        try {
            f();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            rc = 1;
        }
        std::fflush(stdout);
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    // Pages of a reserved huge-page pool are left out of the peak RSS reported here.
    setenv("BRINMO_TRANSPARENT_PAGES", "1", 1);
    cad::restartWithLargePages(argv);
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    const std::string path = (folder / "bench_floorplan.dxf").string();
    const std::string copy = (folder / "bench_floorplan_out.dxf").string();
    double mb = 0;
    inChild([&] {
        const std::string text = generate();
        cad::writeFileAtomically(path, text);
    });
    mb = static_cast<double>(fs::file_size(path)) / 1e6;
    std::printf("floor plan: %d rooms, %d furniture references, %.1f MB\n", kRooms, kAssets, mb);

    inChild([&] {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        auto doc = cad::DxfDocument::readFile(path);
        const double t = seconds(t0), c = cpuSeconds() - c0;
        const double rssMb = peakRssKb() / 1024.0;
        std::printf("scan (structure only): %7.3f s wall %7.1f MB/s, %7.3f s cpu %7.1f MB/s  peak RSS %.1f MB (%.2fx file)  %s\n", t,
                    mb / t, c, mb / c, rssMb, rssMb / mb, mb / c >= 170 ? "[>= 170 MB/s]" : "[below 170 MB/s]");
    });
    inChild([&] {
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        auto drawing = cad::readDxfDrawing(path);
        const double t = seconds(t0), c = cpuSeconds() - c0;
        const double rssMb = peakRssKb() / 1024.0;
        std::printf("open into the database: %7.3f s wall %7.1f MB/s, %7.3f s cpu %7.1f MB/s  peak RSS %.1f MB (%.2fx file)  %s\n",
                    t, mb / t, c, mb / c, rssMb, rssMb / mb, drawing.readInOnePass ? "[one pass]" : "[read twice]");
        const auto t1 = std::chrono::steady_clock::now();
        const double c1 = cpuSeconds();
        cad::saveDxfDrawing(*drawing.database, drawing.file, copy);
        const double tw = seconds(t1), cw = cpuSeconds() - c1;
        std::printf("save from the database: %7.3f s wall %7.1f MB/s, %7.3f s cpu %7.1f MB/s  peak RSS %.1f MB\n", tw,
                    mb / tw, cw, mb / cw, peakRssKb() / 1024.0);
    });
    inChild([&] {
        // For comparison: the whole document scanned first, then every record read again.
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        auto doc = cad::DxfDocument::readFile(path);
        auto drawing = cad::DxfDatabaseReader(doc).read();
        const double t = seconds(t0), c = cpuSeconds() - c0;
        const double rssMb = peakRssKb() / 1024.0;
        std::printf("open, scan then build:  %7.3f s wall %7.1f MB/s, %7.3f s cpu %7.1f MB/s  peak RSS %.1f MB (%.2fx file)\n",
                    t, mb / t, c, mb / c, rssMb, rssMb / mb);
    });
    inChild([&] {
        auto doc = cad::DxfDocument::readFile(path);
        const auto t0 = std::chrono::steady_clock::now();
        const double c0 = cpuSeconds();
        doc.save(copy);
        const double t = seconds(t0), c = cpuSeconds() - c0;
        std::printf("write (structure only): %7.3f s wall %7.1f MB/s, %7.3f s cpu %7.1f MB/s  peak RSS %.1f MB  (%zu warnings)\n", t,
                    mb / t, c, mb / c, peakRssKb() / 1024.0, doc.warnings().size());
    });
    if (!std::getenv("BENCH_KEEP")) fs::remove(path);
    fs::remove(copy);
    return 0;
}
