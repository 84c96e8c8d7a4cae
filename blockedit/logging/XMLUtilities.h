#pragma once
#include <pugixml.hpp>
#include <string>

#include "logging/DateTime.h"

// The node factory behind every XML writer of the module, and the few document helpers they share.
//
// Nodes made by createNode live in the factory's own document until they are appended somewhere
// with appendChild. Each new element remembers its namespace as a default-namespace declaration;
// saveDocument drops the declarations that repeat the namespace in scope, so a saved file declares
// a namespace only where it changes. Readers compare local names (localName) and ignore prefixes.
class CXMLUtilities {
  public:
    CXMLUtilities() = default;
    virtual ~CXMLUtilities() = default;
    CXMLUtilities(const CXMLUtilities&) = delete;
    CXMLUtilities& operator=(const CXMLUtilities&) = delete;

    // A new element in the namespace, holding the text (escaped when saved; "" gives an empty element).
    pugi::xml_node createNode(const std::string& name, const std::string& text,
                              const std::string& namespaceURI);
    // A new empty element in the namespace.
    pugi::xml_node createNode(const std::string& name, const std::string& namespaceURI);
    // The "date" element: year, month, day, hour, minute, second, each "-1" when the value is invalid.
    pugi::xml_node createUniversalTimeNode(const std::string& namespaceURI, const CDateTime& when);

    // Writes a fresh document to the path, replacing any file there: the xml declaration, the
    // stylesheet instruction when a stylesheet is named, and an empty root element (in no
    // namespace when the URI is empty).
    void createXMLDoc(const std::string& path, const std::string& stylesheet, const std::string& rootName,
                      const std::string& namespaceURI);

    // Appends child as the last child of parent and returns the appended node. A node of the same
    // document moves; a node of another document (this factory's, say) is copied in.
    static pugi::xml_node appendChild(pugi::xml_node parent, pugi::xml_node child);

    // The element name without its prefix.
    static std::string localName(const pugi::xml_node& node);
    // The namespace URI of an element, resolved through the declarations in scope.
    static std::string namespaceURI(const pugi::xml_node& node);

    // Loads an XML file with its declaration, instructions and comments. A file that is missing or
    // not well-formed, or that has no single root element, leaves the document empty and answers
    // false; problem, when given, then says why ("line 3, column 7: ...").
    static bool loadDocument(pugi::xml_document& document, const std::string& path,
                             std::string* problem = nullptr);
    // Drops redundant namespace declarations and writes the document as UTF-8; false when the file
    // cannot be written.
    static bool saveDocument(pugi::xml_document& document, const std::string& path);

    // Adds the xml declaration (version 1.0, UTF-8) and, when stylesheet is not empty, the
    // xml-stylesheet instruction naming it, to an empty document.
    static void addProlog(pugi::xml_document& document, const std::string& stylesheet);

  private:
    pugi::xml_document factory_;
};
