#pragma once
#include <cstddef>
#include <map>
#include <string>

namespace cad {

// What a rendering drew and what it left out, by entity kind.
struct RenderReport {
    std::size_t drawn = 0;
    std::size_t hidden = 0;  // on a layer that is off or frozen, or invisible
    std::size_t blockCopies = 0;  // block contents drawn, once per reference, grid cell and dimension
    // Kind (DXF record name, with the reason when it is not the kind itself) -> count.
    std::map<std::string, std::size_t> skipped;

    void skip(const std::string& what) { ++skipped[what]; }
    // Counts what `other` (a later part of the same picture) drew and skipped as well.
    void add(const RenderReport& other);
    std::size_t skippedCount() const;
    // "drew N entities" plus ", skipped: 2 XLINE, 1 HATCH (too dense)" when something was left out.
    std::string summary() const;
};

}  // namespace cad
