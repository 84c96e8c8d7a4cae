#pragma once
#include <pugixml.hpp>
#include <string>

class CXMLUtilities;

// One hyperlink of a space block or an asset: an address and its description.
class CHyperlink {
  public:
    CHyperlink() = default;
    CHyperlink(std::string href, std::string description)
        : bhHref_(std::move(href)), bhDescription_(std::move(description)) {}
    virtual ~CHyperlink() = default;
    CHyperlink(const CHyperlink&) = default;
    CHyperlink& operator=(const CHyperlink&) = default;

    const std::string& getHref() const { return bhHref_; }
    void setHref(std::string href) { bhHref_ = std::move(href); }
    const std::string& getDescription() const { return bhDescription_; }
    void setDescription(std::string description) { bhDescription_ = std::move(description); }

    void copyTo(CHyperlink& target) const;
    // The address of the property database's page for `id` under the base address.
    void setHyperlink(const std::string& baseAddress, long id);

    // <hyperlink><bhHref/>[<bhDescription/>]</hyperlink>; the description only when it is not empty.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    void deSerialize(const pugi::xml_node& node);

  private:
    std::string bhHref_;
    std::string bhDescription_;
};
