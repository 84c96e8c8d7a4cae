#include "logging/Log.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "logging/DateTime.h"
#include "logging/LogNamespaces.h"
#include "logging/LogStylesheets.h"
#include "logging/XMLUtilities.h"

namespace {

bool fileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

}  // namespace

void CLog::createXMLDocument(std::string path, std::string rootName, std::string namespaceURI,
                             std::string stylesheet) {
    pugi::xml_document document;
    CXMLUtilities::addProlog(document, stylesheet);
    pugi::xml_node root = document.append_child(rootName.c_str());
    root.append_attribute("xmlns").set_value(namespaceURI.c_str());
    if (!CXMLUtilities::saveDocument(document, path)) throw std::runtime_error("cannot write " + path);
    // A log is easier to read with its stylesheet beside it; without it the log is still complete.
    logstyles::installBeside(path, stylesheet);
}

void CLog::appendDebug(pugi::xml_node root, std::string description, pugi::xml_node node) {
    pugi::xml_node entry = root.append_child("error");
    entry.append_attribute("xmlns").set_value(kErrorsNamespaceURI);
    CXMLUtilities factory;
    CXMLUtilities::appendChild(entry, factory.createUniversalTimeNode(kErrorsNamespaceURI, CDateTime::now()));
    CXMLUtilities::appendChild(entry, factory.createNode("description", description, kErrorsNamespaceURI));
    if (node) CXMLUtilities::appendChild(entry, node);
}

void CLog::writeToXMLDebugLog(std::string path, std::string description, pugi::xml_node node) {
    if (!fileExists(path)) createXMLDocument(path, "debugging", kDebuggingNamespaceURI, logstyles::kDebugLogFileName);
    pugi::xml_document document;
    CXMLUtilities::loadDocument(document, path);
    pugi::xml_node root = document.document_element();
    if (!root) throw std::runtime_error("Invalid XML file - " + path);  // TODO(core merge)
    if (CXMLUtilities::localName(root) == "debugging") appendDebug(root, description, node);
    if (!CXMLUtilities::saveDocument(document, path)) throw std::runtime_error("cannot write " + path);
}

void CLog::outputToFile(std::string path, std::string text) {
    std::ofstream out(path, std::ios::app);
    if (!out) throw std::runtime_error("cannot open " + path);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char stamp[64] = {};
    if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%d %b %Y %H:%M:%S", &local);
    out << stamp << '\t' << text << '\n';
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}
