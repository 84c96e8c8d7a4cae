#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "data/Hyperlink.h"

class CXMLUtilities;
namespace cad {
class Entity;
}

// The hyperlinks of one space block or asset, in order. Owns its elements.
class CHyperlinks {
public:
    CHyperlinks() = default;
    // The hyperlinks the entity carries in the drawing.
    explicit CHyperlinks(const cad::Entity& entity);
    virtual ~CHyperlinks() = default;
    CHyperlinks(const CHyperlinks&) = delete;
    CHyperlinks& operator=(const CHyperlinks&) = delete;

    void add(std::unique_ptr<CHyperlink> hyperlink);
    std::size_t getCount() const { return items_.size(); }
    // Throws std::out_of_range past the end.
    CHyperlink& getAt(std::size_t index) const { return *items_.at(index); }
    // Appends a deep copy of every element to the target.
    void copyTo(CHyperlinks& target) const;
    void deleteObjects();

    // Appends one hyperlink per hyperlink of the entity, in the drawing's order.
    void getEntityHyperlinks(const cad::Entity& entity);
    // fromDefinition: collect the hyperlinks of the entities of a reference's block definition
    // instead of those of the entity itself.
    void getBlockHyperlinks(const cad::Entity& entity, bool fromDefinition);
    // Parses "address,description;address,description..." into hyperlinks for `id`.
    void setHyperlinks(const std::string& list, long id);

    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

private:
    std::vector<std::unique_ptr<CHyperlink>> items_;
};
