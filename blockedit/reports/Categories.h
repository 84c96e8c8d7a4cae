#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "reports/Category.h"

class CStoredProcedure;
class CXMLUtilities;

// The categories of a report, in order. Owns them.
class CCategories {
public:
    CCategories() = default;
    ~CCategories() = default;
    CCategories(const CCategories&) = delete;
    CCategories& operator=(const CCategories&) = delete;

    // A category with the title (exact case) and hatch (colour, pattern, angle, scale) of one
    // already held is a duplicate: it is dropped and false answered. Two categories without a
    // hatch compare by title alone; one with and one without a hatch never match.
    bool add(std::unique_ptr<CCategory> category);
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside the collection.
    CCategory& getAt(std::size_t index) const;
    void deleteObjects() { items_.clear(); }

    // <categories> with one <category> per category.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // One category per <category> child, added with add.
    void deSerialize(const pugi::xml_node& node);

    // One category per row of "__gr_getReportCategories", each with its hatch (when it has a
    // pattern), its space blocks and its assets, added with add.
    void getReportCategories(CStoredProcedure& procedure, int graphicReportID, int timeout);

private:
    std::vector<std::unique_ptr<CCategory>> items_;
};
