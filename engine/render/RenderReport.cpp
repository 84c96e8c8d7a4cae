#include "engine/render/RenderReport.h"

namespace cad {

std::size_t RenderReport::skippedCount() const {
    std::size_t n = 0;
    for (const auto& [kind, count] : skipped) n += count;
    return n;
}

void RenderReport::add(const RenderReport& other) {
    drawn += other.drawn;
    hidden += other.hidden;
    blockCopies += other.blockCopies;
    for (const auto& [kind, count] : other.skipped) skipped[kind] += count;
}

std::string RenderReport::summary() const {
    std::string text = "drew " + std::to_string(drawn) + (drawn == 1 ? " entity" : " entities");
    if (skipped.empty()) return text;
    text += ", skipped:";
    bool first = true;
    for (const auto& [kind, count] : skipped) {
        text += first ? " " : ", ";
        text += std::to_string(count) + " " + kind;
        first = false;
    }
    return text;
}

}  // namespace cad
