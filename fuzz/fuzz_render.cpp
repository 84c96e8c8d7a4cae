// Draws whatever the DXF reader makes of arbitrary bytes: a small picture of model space and of
// the first paper layouts, and a PDF of model space. The reader may refuse the input with a
// DxfError; drawing may skip what it cannot draw, but must neither fail nor outlast the fuzzer's
// timeout, whatever the drawing holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/db/Database.h"
#include "engine/db/Layout.h"
#include "engine/dxf/DxfDrawing.h"
#include "engine/dxf/DxfError.h"
#include "engine/render/DrawingRenderer.h"

namespace {

std::vector<std::string> paperLayouts(const cad::Database& db) {
    std::vector<std::string> names;
    for (cad::ObjectId id : db.layouts()) {
        const auto* layout = dynamic_cast<const cad::Layout*>(db.objectAt(id));
        // One without a block is not offered to be drawn: asking for it is refused, rightly.
        if (layout && !layout->isModelLayout() && !layout->blockTableRecordId().isNull() && names.size() < 2)
            names.push_back(layout->layoutName());
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    cad::DxfDrawing drawing;
    try {
        drawing = cad::readDxfDrawingText(text, "fuzz.dxf");
    } catch (const cad::DxfError&) {
        return 0;
    }
    std::vector<std::string> layouts{""};
    for (std::string& name : paperLayouts(*drawing.database)) layouts.push_back(std::move(name));
    for (const std::string& layout : layouts) {
        cad::RenderOptions options;
        options.layout = layout;
        options.width = 64;
        const cad::RenderResult result = cad::renderDrawingToFile(*drawing.database, options, "/tmp/fuzz_render.png");
        if (!result.ok) std::abort();
        if (layout.empty() && !cad::renderDrawingToFile(*drawing.database, options, "/tmp/fuzz_render.pdf").ok) std::abort();
    }
    return 0;
}
