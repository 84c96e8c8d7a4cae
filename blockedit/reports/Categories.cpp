#include "reports/Categories.h"

#include <stdexcept>

#include "core/KorvaWrap.h"
#include "logging/XMLUtilities.h"

namespace {

constexpr const char* kFile = __FILE__;

bool sameHatch(const CHatch* a, const CHatch* b) {
    if (a == nullptr || b == nullptr) return a == b;
    const cad::Color& x = a->getColour();
    const cad::Color& y = b->getColour();
    return x.red() == y.red() && x.green() == y.green() && x.blue() == y.blue() &&
           a->getPattern() == b->getPattern() && a->getAngle() == b->getAngle() && a->getScale() == b->getScale();
}

}  // namespace

bool CCategories::add(std::unique_ptr<CCategory> category) {
    return korvaWrap(kFile, "CCategories::add", [&] {
        for (const auto& held : items_)
            if (held->getTitle() == category->getTitle() && sameHatch(held->getHatch(), category->getHatch()))
                return false;
        items_.push_back(std::move(category));
        return true;
    });
}

CCategory& CCategories::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("CCategories::getAt: index outside the collection");
    return *items_[index];
}

pugi::xml_node CCategories::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CCategories::serialize", [&] {
        pugi::xml_node node = factory.createNode("categories", namespaceURI);
        for (const auto& category : items_)
            CXMLUtilities::appendChild(node, category->serialize(factory, namespaceURI));
        return node;
    });
}

void CCategories::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CCategories::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "category") continue;
            auto category = std::make_unique<CCategory>();
            category->deSerialize(child);
            add(std::move(category));
        }
    });
}
