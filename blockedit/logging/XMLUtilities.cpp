#include "logging/XMLUtilities.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "core/KorvaWrap.h"
#include "core/Utilities.h"
#include "logging/XMLComponentFailure.h"

namespace {

constexpr std::string_view kXmlns = "xmlns";

// Declares the default namespace on an element, first among its attributes.
void declareNamespace(pugi::xml_node element, const std::string& namespaceURI) {
    pugi::xml_attribute declaration = element.attribute(kXmlns.data());
    if (!declaration) declaration = element.prepend_attribute(kXmlns.data());
    declaration.set_value(namespaceURI.c_str());
}

std::string prefixOf(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? std::string() : std::string(name.substr(0, colon));
}

// Removes default-namespace declarations that repeat the namespace already in scope.
void dropRedundantDeclarations(pugi::xml_node element, const std::string& inScope) {
    std::string current = inScope;
    if (prefixOf(element).empty()) {
        if (pugi::xml_attribute declaration = element.attribute(kXmlns.data())) {
            if (inScope == declaration.value()) {
                element.remove_attribute(declaration);
            } else {
                current = declaration.value();
            }
        }
    } else if (pugi::xml_attribute declaration = element.attribute(kXmlns.data())) {
        current = declaration.value();
    }
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) dropRedundantDeclarations(child, current);
    }
}

// "line L, column C" of a byte offset into the file.
std::string positionOf(const std::string& path, std::ptrdiff_t offset) {
    std::ifstream in(path, std::ios::binary);
    long line = 1;
    long column = 1;
    char c = 0;
    for (std::ptrdiff_t i = 0; i < offset && in.get(c); ++i) {
        if (c == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// XML 1.0 cannot carry control characters other than tab and line ends, not even as references;
// they become U+FFFD so that a log stays readable by every XML tool.
std::string xmlSafeText(const std::string& text) {
    std::string safe;
    safe.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
            safe += "\xEF\xBF\xBD";
        } else {
            safe += c;
        }
    }
    return safe;
}

// Writes next to the target and renames over it, so a failure never leaves half a file.
bool saveReplacing(const pugi::xml_document& document, const std::string& path) {
    std::error_code error;
    std::filesystem::path target = path;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(target, error))) {
        target = std::filesystem::weakly_canonical(target, error);
        if (error) return false;
    }
    std::filesystem::path temporary = target;
    temporary += ".tmp" + std::to_string(::getpid());
    if (!document.save_file(temporary.c_str(), "  ", pugi::format_default | pugi::format_no_declaration,
                            pugi::encoding_utf8)) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    // Keep the permissions of a log that others are meant to read or write.
    if (const auto status = std::filesystem::status(target, error);
        !error && std::filesystem::exists(status)) {
        std::filesystem::permissions(temporary, status.permissions(), error);
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

std::string dateField(const CDateTime& when, int value) {
    return when.isValid() ? CUtilities::IntToCString(value) : std::string("-1");
}

}  // namespace

pugi::xml_node CXMLUtilities::createNode(const std::string& name, const std::string& text,
                                         const std::string& namespaceURI) {
    return korvaWrap(__FILE__, "CXMLUtilities::createNode", [&] {
        pugi::xml_node node = createNode(name, namespaceURI);
        if (!text.empty()) node.text().set(xmlSafeText(text).c_str());
        return node;
    });
}

pugi::xml_node CXMLUtilities::createNode(const std::string& name, const std::string& namespaceURI) {
    return korvaWrap(__FILE__, "CXMLUtilities::createNode", [&] {
        pugi::xml_node node = factory_.append_child(name.c_str());
        if (!node) throw CXMLComponentFailure{};
        declareNamespace(node, namespaceURI);
        return node;
    });
}

pugi::xml_node CXMLUtilities::createUniversalTimeNode(const std::string& namespaceURI,
                                                      const CDateTime& when) {
    return korvaWrap(__FILE__, "CXMLUtilities::createUniversalTimeNode", [&] {
        pugi::xml_node date = createNode("date", namespaceURI);
        const std::pair<const char*, int> parts[] = {{"year", when.year()},     {"month", when.month()},
                                                     {"day", when.day()},       {"hour", when.hour()},
                                                     {"minute", when.minute()}, {"second", when.second()}};
        for (const auto& [name, value] : parts) {
            appendChild(date, createNode(name, dateField(when, value), namespaceURI));
        }
        return date;
    });
}

void CXMLUtilities::createXMLDoc(const std::string& path, const std::string& stylesheet,
                                 const std::string& rootName, const std::string& namespaceURI) {
    korvaWrap(__FILE__, "CXMLUtilities::createXMLDoc", [&] {
        pugi::xml_document document;
        addProlog(document, stylesheet);
        pugi::xml_node root = document.append_child(rootName.c_str());
        if (!root) throw CXMLComponentFailure{};
        if (!namespaceURI.empty()) declareNamespace(root, namespaceURI);
        if (!saveDocument(document, path)) throw CXMLComponentFailure{};
    });
}

pugi::xml_node CXMLUtilities::appendChild(pugi::xml_node parent, pugi::xml_node child) {
    return korvaWrap(__FILE__, "CXMLUtilities::appendChild", [&] {
        if (!parent || !child) throw CXMLComponentFailure{};
        // Moved or copied, the node leaves the declarations in scope where it stood; keep its
        // namespace explicit.
        const std::string originalNamespace = namespaceURI(child);
        pugi::xml_node appended =
            child.root() == parent.root() ? parent.append_move(child) : parent.append_copy(child);
        if (!appended) throw CXMLComponentFailure{};
        if (appended.type() == pugi::node_element && prefixOf(appended).empty() &&
            !appended.attribute(kXmlns.data())) {
            declareNamespace(appended, originalNamespace);
        }
        return appended;
    });
}

std::string CXMLUtilities::localName(const pugi::xml_node& node) {
    const std::string_view name = node.name();
    const auto colon = name.find(':');
    return std::string(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

std::string CXMLUtilities::namespaceURI(const pugi::xml_node& node) {
    const std::string prefix = prefixOf(node);
    const std::string attributeName =
        prefix.empty() ? std::string(kXmlns) : std::string(kXmlns) + ":" + prefix;
    for (pugi::xml_node scope = node; scope && scope.type() == pugi::node_element; scope = scope.parent()) {
        if (pugi::xml_attribute declaration = scope.attribute(attributeName.c_str()))
            return declaration.value();
    }
    return std::string();
}

bool CXMLUtilities::loadDocument(pugi::xml_document& document, const std::string& path,
                                 std::string* problem) {
    constexpr unsigned options = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                 pugi::parse_comments | pugi::parse_doctype;
    document.reset();
    const pugi::xml_parse_result result = document.load_file(path.c_str(), options);
    std::string why;
    if (!result) {
        why = result.status == pugi::status_file_not_found || result.status == pugi::status_io_error
                  ? std::string(result.description())
                  : positionOf(path, result.offset) + ": " + result.description();
    } else {
        int roots = 0;
        for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
            if (child.type() == pugi::node_element) ++roots;
        }
        if (roots != 1) why = roots == 0 ? "no root element" : "more than one root element";
    }
    if (why.empty()) return true;
    document.reset();
    if (problem) *problem = why;
    return false;
}

bool CXMLUtilities::saveDocument(pugi::xml_document& document, const std::string& path) {
    if (pugi::xml_node root = document.document_element()) dropRedundantDeclarations(root, std::string());
    return saveReplacing(document, path);
}

void CXMLUtilities::addProlog(pugi::xml_document& document, const std::string& stylesheet) {
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    if (!stylesheet.empty()) {
        pugi::xml_node instruction = document.append_child(pugi::node_pi);
        instruction.set_name("xml-stylesheet");
        instruction.set_value(("type=\"text/xsl\" href=\"" + stylesheet + "\"").c_str());
    }
}
