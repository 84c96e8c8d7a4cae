// Feeds arbitrary bytes to the DXF reader, down to the database and back to text. Anything but a
// DxfError is a bug, and so is output that does not settle: from the second generation on,
// reading and writing must give the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/dxf/DxfDocument.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"

namespace {

std::string generation(const std::string& text) {
    auto drawing = cad::readDxfDrawingText(text, "fuzz.dxf");
    return cad::writeDxfDrawing(*drawing.database, drawing.file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
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
