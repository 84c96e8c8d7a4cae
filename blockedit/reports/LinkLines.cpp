#include "reports/LinkLines.h"

#include <stdexcept>

#include "core/KorvaWrap.h"
#include "logging/XMLUtilities.h"

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

CLinkLine& CLinkLines::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("CLinkLines::getAt: index outside the collection");
    return *items_[index];
}

void CLinkLines::applyToDrawing(CAcadDrawing& drawing, CAcadDrawingState& state) const {
    korvaWrap(kFile, "CLinkLines::applyToDrawing", [&] {
        for (const auto& line : items_) line->applyToDrawing(drawing, state);
    });
}

pugi::xml_node CLinkLines::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CLinkLines::serialize", [&] {
        pugi::xml_node node = factory.createNode("linkLines", namespaceURI);
        for (const auto& line : items_) CXMLUtilities::appendChild(node, line->serialize(factory, namespaceURI));
        return node;
    });
}

void CLinkLines::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CLinkLines::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "linkLine") continue;
            auto line = std::make_unique<CLinkLine>();
            line->deSerialize(child);
            add(std::move(line));
        }
    });
}
