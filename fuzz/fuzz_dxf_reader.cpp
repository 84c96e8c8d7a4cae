// Feeds arbitrary bytes to the DXF reader. Anything but a DxfError is a bug, and so is a file that
// reads but whose written form does not read back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/dxf/DxfDocument.h"
#include "engine/dxf/DxfError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        auto doc = cad::DxfDocument::parse(std::move(text), "fuzz.dxf");
        for (const auto& section : doc.sections()) {
            for (const auto& record : section.records) {
                for (const auto& tag : doc.tags(record)) {
                    if (tag.code == 1 || tag.code == 1000) (void)doc.codePage().decode(tag.value);
                }
            }
        }
        const std::string first = doc.write();
        auto again = cad::DxfDocument::parse(first, "fuzz2.dxf");
        if (again.write() != first) std::abort();
    } catch (const cad::DxfError&) {
    }
    return 0;
}
