#pragma once
#include <pugixml.hpp>
#include <string>

class CEXKorva;
class CPreferencesZerOda;

// Writes the module's append-only logs: the XML error log, the XML debug log and plain-text lines.
// Every append loads the whole file, adds one entry and rewrites it; nothing is cached, so two
// processes appending at once can lose an entry. A new XML log gets its stylesheet beside it
// unless a file of that name is already there.
class CLog {
  public:
    CLog() = default;
    virtual ~CLog() = default;

    // Appends the chain as one "error" entry to the error log at path, creating the log when
    // there is none. A log whose root is not "errors" is rewritten without a new entry.
    void writeToXMLErrorLog(std::string path, const CEXKorva& error);
    // writeToXMLErrorLog for the acadErrorLogFilePath of every server record, in order.
    void writeToXMLErrorLogs(const CPreferencesZerOda& settings, const CEXKorva& error);

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
