#include "data/Hyperlink.h"

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "logging/XMLUtilities.h"

namespace {
constexpr const char* kFile = __FILE__;
}

void CHyperlink::copyTo(CHyperlink& target) const {
    korvaWrap(kFile, "CHyperlink::copyTo", [&] {
        target.bhHref_ = bhHref_;
        target.bhDescription_ = bhDescription_;
    });
}

void CHyperlink::setHyperlink(const std::string& baseAddress, long id) {
    korvaWrap(kFile, "CHyperlink::setHyperlink",
              [&] { bhHref_ = baseAddress + "?pb=10&page=1" + "&id=" + CUtilities::LongToCString(id); });
}

pugi::xml_node CHyperlink::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CHyperlink::serialize", [&] {
        pugi::xml_node node = factory.createNode("hyperlink", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("bhHref", bhHref_, namespaceURI));
        if (!bhDescription_.empty())
            CXMLUtilities::appendChild(node,
                                       factory.createNode("bhDescription", bhDescription_, namespaceURI));
        return node;
    });
}

void CHyperlink::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CHyperlink::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            if (name == "bhHref")
                bhHref_ = child.text().get();
            else if (name == "bhDescription")
                bhDescription_ = child.text().get();
        }
    });
}
