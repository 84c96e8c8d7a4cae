#pragma once
#include <functional>
#include <string>

#include <pugixml.hpp>

class CPreferencesZerOda;

// Writes the module's append-only logs: the XML error log, the XML debug log and plain-text lines.
// Every append loads the whole file, adds one entry and rewrites it; nothing is cached, so two
// processes appending at once can lose an entry.
class CLog {
public:
    CLog() = default;
    virtual ~CLog() = default;

    // Appends a debug entry (date, description, then node when given) to the debug log at path,
    // creating the log when there is none.
    void writeToXMLDebugLog(std::string path, std::string description, pugi::xml_node node);

    // Appends "<local time>\t<text>\n" to the file at path, creating it when missing.
    void outputToFile(std::string path, std::string text);

private:
    // Writes an empty log: declaration, stylesheet instruction, and the root in the namespace.
    void createXMLDocument(std::string path, std::string rootName, std::string namespaceURI,
                           std::string stylesheet);
    void appendDebug(pugi::xml_node root, std::string description, pugi::xml_node node);
};
