// Feeds arbitrary bytes to the DXF reader, down to the database and back to text. Anything but a
// DxfError is a bug, and so is output that does not settle: from the second generation on,
// reading and writing must give the same text. Reading along the scan (also giving up every record
// as soon as it is read) and reading the whole document first must agree on the text, the warnings
// and the error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/dxf/DxfDatabaseReader.h"
#include "engine/dxf/tags/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"

namespace {

std::string generation(const std::string& text) {
    auto drawing = cad::readDxfDrawingText(text, "fuzz.dxf");
    return cad::writeDxfDrawing(*drawing.database, drawing.file);
}

// The written text and warnings, or the error.
std::string outcome(cad::DxfDrawing (*read)(const std::string&), const std::string& text) {
    try {
        auto drawing = read(text);
        std::string out = cad::writeDxfDrawing(*drawing.database, drawing.file);
        for (const auto& w : drawing.warnings) out += "\n" + w;
        return out;
    } catch (const cad::DxfError& e) {
        return std::string("error: ") + e.what();
    }
}

cad::DxfDrawing alongTheScan(const std::string& text) { return cad::readDxfDrawingText(text, "fuzz.dxf"); }

cad::DxfDrawing givingUpEach(const std::string& text) {
    auto doc = cad::DxfDocument::open(text, "fuzz.dxf");
    doc.setDropStep(1);
    return cad::DxfDatabaseReader(doc).read();
}

cad::DxfDrawing wholeFirst(const std::string& text) {
    auto doc = cad::DxfDocument::parse(text, "fuzz.dxf");
    return cad::DxfDatabaseReader(doc).read();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string whole = outcome(wholeFirst, text);
    if (outcome(alongTheScan, text) != whole || outcome(givingUpEach, text) != whole) std::abort();
    try {
        auto doc = cad::DxfDocument::parse(text, "fuzz.dxf");
        for (const auto& section : doc.sections()) {
            for (const auto& record : section.records) {
                for (const auto& tag : doc.tags(record)) {
                    if (tag.code == 1 || tag.code == 1000) (void)doc.codePage().decode(tag.value);
                }
            }
        }
        const std::string first = doc.write();
        if (cad::DxfDocument::parse(first, "fuzz2.dxf").write() != first) std::abort();

        const std::string second = generation(generation(text));
        if (generation(second) != second) std::abort();
    } catch (const cad::DxfError&) {
    }
    return 0;
}
