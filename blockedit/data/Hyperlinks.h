#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "data/Hyperlink.h"

class CStoredProcedure;
class CXMLUtilities;
namespace cad {
class BlockReference;
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
    // Appends the hyperlinks a report category gives a space block or an asset
    // ("__gr_getBlockHyperlinks", "__gr_getAssetHyperlinks").
    void getBlockHyperlinks(CStoredProcedure& procedure, int timeout, int categoryID, const std::string& handle);
    void getAssetHyperlinks(CStoredProcedure& procedure, int timeout, int categoryID, const std::string& handle);
    // Parses "address,description;address,description..." into hyperlinks for `id`.
    void setHyperlinks(const std::string& list, long id);

    // ---- writing to the drawing ----
    // Replaces the entity's hyperlinks by these (address as name, description, no
    // sub-location); the entity's earlier hyperlinks are dropped, never merged.
    void writeToEntity(cad::Entity& entity) const;
    // The reference and then, on AutoCAD LT and AutoCAD (host kinds 1 and 2), each of its
    // attributes; with fromDefinition every entity of the block's definition and then every
    // attribute of the reference, whatever the host.
    void writeToBlock(cad::BlockReference& reference, bool fromDefinition) const;
    // The kind of the running host (CHostPlatform); a full host (2) when none runs.
    static int currentHostKind();

    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

  private:
    std::vector<std::unique_ptr<CHyperlink>> items_;
};
