#include "reports/Category.h"

#include <cstdint>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "data/Assets.h"
#include "logging/XMLUtilities.h"
#include "spaceblocks/Blocks.h"

namespace {

constexpr const char* kFile = __FILE__;

// Two hexadecimal digits of a "#RRGGBB" text from the given position; missing characters read as
// nothing, so a short text gives 0 for the missing parts.
std::uint8_t colourPart(const std::string& text, std::size_t position) {
    if (position >= text.size()) return 0;
    return static_cast<std::uint8_t>(CUtilities::_httoi(text.substr(position, 2)) & 0xFF);
}

}  // namespace

CCategory::CCategory() = default;
CCategory::~CCategory() = default;

void CCategory::setBlocks(std::unique_ptr<CBlocks> blocks) { blocks_ = std::move(blocks); }

void CCategory::setAssets(std::unique_ptr<CAssets> assets) { assets_ = std::move(assets); }

pugi::xml_node CCategory::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return korvaWrap(kFile, "CCategory::serialize", [&] {
        pugi::xml_node node = factory.createNode("category", namespaceURI);
        auto child = [&](const char* name, const std::string& text) {
            CXMLUtilities::appendChild(node, factory.createNode(name, text, namespaceURI));
        };
        child("cID", CUtilities::IntToCString(id_));
        child("cTitle", title_);
        if (hatch_) {
            child("cHatchPattern", hatch_->getPattern());
            child("cHatchColour", CUtilities::acadColourToHash(hatch_->getColour()));
            child("cHatchScale", CUtilities::IntToCString(hatch_->getScale()));
            child("cHatchAngle", CUtilities::IntToCString(hatch_->getAngle()));
            child("cHatchLayer", hatch_->getLayer());
        }
        if (blocks_) CXMLUtilities::appendChild(node, blocks_->serialize(factory, namespaceURI));
        if (assets_) CXMLUtilities::appendChild(node, assets_->serialize(factory, namespaceURI));
        return node;
    });
}

void CCategory::deSerialize(const pugi::xml_node& node) {
    korvaWrap(kFile, "CCategory::deSerialize", [&] {
        // Hatch values may come before the pattern that makes the hatch: they wait here.
        CHatch pending;
        CHatch* hatch = hatch_ ? hatch_.get() : &pending;
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            const std::string name = CXMLUtilities::localName(child);
            const std::string text = child.text().get();
            if (name == "cID") {
                id_ = static_cast<int>(CUtilities::CStringToLong(text));
            } else if (name == "cTitle") {
                title_ = text;
            } else if (name == "cHatchPattern") {
                if (!hatch_) {
                    hatch_ = pending.clone();
                    hatch = hatch_.get();
                }
                hatch->setPattern(text);
            } else if (name == "cHatchColour") {
                hatch->setColour(cad::Color::fromRgb(colourPart(text, 1), colourPart(text, 3), colourPart(text, 5)));
            } else if (name == "cHatchScale") {
                hatch->setScale(CUtilities::CStringToInt(text));
            } else if (name == "cHatchAngle") {
                hatch->setAngle(CUtilities::CStringToInt(text));
            } else if (name == "cHatchLayer") {
                hatch->setLayer(text);
            } else if (name == "korvaBlocks") {
                blocks_ = std::make_unique<CBlocks>();
                blocks_->deSerialize(child, hatch_.get());
            } else if (name == "assets") {
                assets_ = std::make_unique<CAssets>();
                assets_->deSerialize(child, hatch_.get());
            }
        }
    });
}
