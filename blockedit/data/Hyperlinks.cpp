#include "data/Hyperlinks.h"

#include "core/HostError.h"
#include "core/KorvaWrap.h"
#include "engine/api/Drawing.h"
#include "engine/api/Editor.h"
#include "logging/XMLUtilities.h"
#include "host/HostPlatform.h"
#include "engine/api/Text.h"

namespace {

constexpr const char* kFile = __FILE__;

std::string trimmed(std::string_view text) { return std::string(cad::trimBlanks(text, cad::kAllBlanks)); }

}  // namespace

CHyperlinks::CHyperlinks(const cad::Entity& entity) {
    korvaWrap(kFile, "CHyperlinks::CHyperlinks", [&] { getBlockHyperlinks(entity, false); });
}

void CHyperlinks::add(std::unique_ptr<CHyperlink> hyperlink) {
    korvaWrap(kFile, "CHyperlinks::add", [&] {
        if (hyperlink) items_.push_back(std::move(hyperlink));
    });
}

void CHyperlinks::copyTo(CHyperlinks& target) const {
    korvaWrap(kFile, "CHyperlinks::copyTo", [&] {
        for (const auto& item : items_) target.items_.push_back(std::make_unique<CHyperlink>(*item));
    });
}

void CHyperlinks::deleteObjects() {
    korvaWrap(kFile, "CHyperlinks::deleteObjects", [&] { items_.clear(); });
}

void CHyperlinks::getEntityHyperlinks(const cad::Entity& entity) {
    korvaWrap(kFile, "CHyperlinks::getEntityHyperlinks", [&] {
        for (const cad::Hyperlink& link : cad::getHyperlinks(entity))
            items_.push_back(std::make_unique<CHyperlink>(link.url, link.description));
    });
}

void CHyperlinks::getBlockHyperlinks(const cad::Entity& entity, bool fromDefinition) {
    korvaWrap(kFile, "CHyperlinks::getBlockHyperlinks", [&] {
        if (!fromDefinition) {
            getEntityHyperlinks(entity);
            return;
        }
        const auto* reference = dynamic_cast<const cad::BlockReference*>(&entity);
        cad::Database* db = entity.database();
        if (!reference || !db) return;
        auto definition = db->open<cad::BlockTableRecord>(reference->blockTableRecord());
        if (!definition) return;
        for (cad::ObjectId id : definition->liveEntityIds()) {
            auto inner = db->open<cad::Entity>(id);
            if (inner) getEntityHyperlinks(*inner);
        }
    });
}

void CHyperlinks::setHyperlinks(const std::string& list, long id) {
    korvaWrap(kFile, "CHyperlinks::setHyperlinks", [&] {
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(';', start);
            if (end == std::string::npos) end = list.size();
            const std::string item = list.substr(start, end - start);
            std::string address, description;
            const auto comma = item.find(',');
            if (comma == std::string::npos) {
                address = description = item;
            } else {
                address = item.substr(0, comma);
                description = item.substr(comma + 1);
            }
            if (address.empty()) address = description;
            if (description.empty()) description = address;
            address = trimmed(address);
            description = trimmed(description);
            if (!address.empty()) {
                auto link = std::make_unique<CHyperlink>();
                link->setHyperlink(address, id);
                link->setDescription(description);
                items_.push_back(std::move(link));
            }
            if (end == list.size()) break;
            start = end + 1;
        }
    });
}

void CHyperlinks::writeToEntity(cad::Entity& entity) const {
    korvaWrap(kFile, "CHyperlinks::writeToEntity", [&] {
        std::vector<cad::Hyperlink> links;
        links.reserve(items_.size());
        for (const auto& item : items_) links.push_back({item->getHref(), item->getDescription(), {}, 0});
        KORVA_HOST_CHECK(cad::setHyperlinks(entity, links), std::string());
    });
}

void CHyperlinks::writeToBlock(cad::BlockReference& reference, bool fromDefinition) const {
    korvaWrap(kFile, "CHyperlinks::writeToBlock", [&] {
        cad::Database* db = reference.database();
        if (!db) throw std::logic_error("the block reference is not in a drawing");
        if (fromDefinition) {
            auto definition = db->open<cad::BlockTableRecord>(reference.blockTableRecord());
            KORVA_HOST_CHECK(definition.openStatus(), std::string());
            const std::vector<cad::ObjectId> inner = definition->liveEntityIds();
            definition.close();
            for (cad::ObjectId id : inner) {
                auto entity = db->open<cad::Entity>(id, cad::OpenMode::ForWrite);
                KORVA_HOST_CHECK(entity.openStatus(), std::string());
                writeToEntity(*entity);
            }
        } else {
            writeToEntity(reference);
            const int kind = currentHostKind();
            if (kind != CHostPlatform::kAutoCADLT && kind != CHostPlatform::kAutoCAD) return;
        }
        for (cad::ObjectId id : reference.attributeIds()) {
            auto attribute = db->open<cad::Attribute>(id, cad::OpenMode::ForWrite);
            if (attribute.openStatus() == cad::ErrorStatus::eWasErased) continue;
            KORVA_HOST_CHECK(attribute.openStatus(), std::string());
            writeToEntity(*attribute);
        }
    });
}

int CHyperlinks::currentHostKind() {
    return cad::hostIsRunning() ? CHostPlatform::kindFromProductName(cad::hostProductName()) : CHostPlatform::kAutoCAD;
}

pugi::xml_node CHyperlinks::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CHyperlinks::serialize", [&] {
        pugi::xml_node node = factory.createNode("hyperlinks", namespaceURI);
        for (const auto& item : items_)
            CXMLUtilities::appendChild(node, item->serialize(factory, namespaceURI));
        return node;
    });
}

void CHyperlinks::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CHyperlinks::deSerialize", [&] {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element || CXMLUtilities::localName(child) != "hyperlink")
                continue;
            auto link = std::make_unique<CHyperlink>();
            link->deSerialize(child);
            items_.push_back(std::move(link));
        }
    });
}
