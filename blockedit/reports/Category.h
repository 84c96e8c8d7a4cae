#pragma once
#include <memory>
#include <pugixml.hpp>
#include <string>

#include "reports/Hatch.h"

class CAssets;
class CBlocks;
class CXMLUtilities;

// One category of a graphic report: its title, how its things are hatched, and the space blocks
// and assets that belong to it. Owns its hatch, blocks and assets.
class CCategory {
public:
    CCategory();
    ~CCategory();
    CCategory(const CCategory&) = delete;
    CCategory& operator=(const CCategory&) = delete;

    int getID() const { return id_; }
    void setID(int id) { id_ = id; }
    const std::string& getTitle() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    CHatch* getHatch() const { return hatch_.get(); }
    void setHatch(std::unique_ptr<CHatch> hatch) { hatch_ = std::move(hatch); }
    CBlocks* getBlocks() const { return blocks_.get(); }
    void setBlocks(std::unique_ptr<CBlocks> blocks);
    CAssets* getAssets() const { return assets_.get(); }
    void setAssets(std::unique_ptr<CAssets> assets);

    // <category>: cID, cTitle, the hatch settings when there is a hatch, then the blocks and the
    // assets when present.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // Reads the children in order. The hatch exists once cHatchPattern is read; hatch values met
    // before it are kept for it, and without it the category has no hatch. Blocks and assets get
    // copies of the hatch as it stands when they are read.
    void deSerialize(const pugi::xml_node& node);

private:
    int id_ = 0;
    std::string title_;
    std::unique_ptr<CHatch> hatch_;
    std::unique_ptr<CBlocks> blocks_;
    std::unique_ptr<CAssets> assets_;
};
