#include "logging/Log.h"

#include <ctime>
#include <fstream>

#include "core/EXKinds.h"
#include "core/FileUtilities.h"
#include "core/KorvaWrap.h"
#include "core/ModuleInfo.h"
#include "logging/DateTime.h"
#include "logging/ErrorRecord.h"
#include "logging/LogNamespaces.h"
#include "logging/LogStylesheets.h"
#include "logging/PreferencesZerOda.h"
#include "logging/XMLComponentFailure.h"
#include "logging/XMLUtilities.h"

void CLog::createXMLDocument(std::string path, std::string rootName, std::string namespaceURI,
                             std::string stylesheet) {
    korvaWrap(__FILE__, "CLog::createXMLDocument", [&] {
        pugi::xml_document document;
        CXMLUtilities::addProlog(document, stylesheet);
        pugi::xml_node root = document.append_child(rootName.c_str());
        root.append_attribute("xmlns").set_value(namespaceURI.c_str());
        if (!CXMLUtilities::saveDocument(document, path)) throw CXMLComponentFailure{};
        // A log reads better with its stylesheet beside it, but is complete without it.
        logstyles::installBeside(path, stylesheet);
    });
}

void CLog::appendDebug(pugi::xml_node root, std::string description, pugi::xml_node node) {
    korvaWrap(__FILE__, "CLog::appendDebug", [&] {
        pugi::xml_node entry = root.append_child("error");
        entry.append_attribute("xmlns").set_value(kErrorsNamespaceURI);
        CXMLUtilities factory;
        CXMLUtilities::appendChild(entry,
                                   factory.createUniversalTimeNode(kErrorsNamespaceURI, CDateTime::now()));
        CXMLUtilities::appendChild(entry,
                                   factory.createNode("description", description, kErrorsNamespaceURI));
        if (node) CXMLUtilities::appendChild(entry, node);
    });
}

void CLog::writeToXMLErrorLog(std::string path, const CEXKorva& error) {
    korvaWrap(__FILE__, "CLog::writeToXMLErrorLog", [&] {
        if (!CFileUtilities::fileExists(path))
            createXMLDocument(path, "errors", kErrorsNamespaceURI, logstyles::kErrorLogFileName);
        pugi::xml_document document;
        CXMLUtilities::loadDocument(document, path);
        pugi::xml_node root = document.document_element();
        if (!root) throw CXMLComponentFailure{};
        if (CXMLUtilities::localName(root) == "errors") {
            CXMLUtilities factory;
            CXMLUtilities::appendChild(root, serializeError(factory, error));
        }
        if (!CXMLUtilities::saveDocument(document, path)) throw CXMLComponentFailure{};
    });
}

void CLog::writeToXMLErrorLogs(const CPreferencesZerOda& settings, const CEXKorva& error) {
    korvaWrap(__FILE__, "CLog::writeToXMLErrorLogs", [&] {
        for (int server = 0; server < settings.getCount(); ++server) {
            writeToXMLErrorLog(settings.getAt(server).getAcadErrorLogFilePath(), error);
        }
    });
}

void CLog::writeToXMLDebugLog(std::string path, std::string description, pugi::xml_node node) {
    korvaWrap(__FILE__, "CLog::writeToXMLDebugLog", [&] {
        if (!CFileUtilities::fileExists(path)) {
            createXMLDocument(path, "debugging", kDebuggingNamespaceURI, logstyles::kDebugLogFileName);
        }
        pugi::xml_document document;
        CXMLUtilities::loadDocument(document, path);
        pugi::xml_node root = document.document_element();
        if (!root) throw CEXInvalidXMLFile(path, kModuleDescription, __FILE__, "CLog::writeToXMLDebugLog");
        if (CXMLUtilities::localName(root) == "debugging") appendDebug(root, description, node);
        if (!CXMLUtilities::saveDocument(document, path)) throw CXMLComponentFailure{};
    });
}

void CLog::outputToFile(std::string path, std::string text) {
    korvaWrap(__FILE__, "CLog::outputToFile", [&] {
        std::ofstream out(path, std::ios::app);
        if (!out) throw CXMLComponentFailure{};
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        char stamp[64] = {};
        if (localtime_r(&now, &local)) std::strftime(stamp, sizeof stamp, "%d %b %Y %H:%M:%S", &local);
        out << stamp << '\t' << text << '\n';
        if (!out.flush()) throw CXMLComponentFailure{};
    });
}
