#include "data/StoredProcedure.h"

#include <cstdlib>
#include <sstream>

#include "data/DataWrap.h"
#include "logging/Log.h"
#include "logging/LogNamespaces.h"
#include "logging/XMLUtilities.h"

CStoredProcedure::CStoredProcedure(std::string dataSource, std::string catalog, std::string userID,
                                   std::string password, int timeout)
    : CDataServices(std::move(dataSource), std::move(catalog), std::move(userID), std::move(password), timeout),
      commandTimeout_(timeout) {}

std::string& CStoredProcedure::debugLogPath() {
    static std::string path = [] {
        const char* fromEnvironment = std::getenv("BRINMO_DB_DEBUG_LOG");
        return std::string(fromEnvironment ? fromEnvironment : "");
    }();
    return path;
}

std::unique_ptr<CRecordset> CStoredProcedure::execute(const char* variant, bool withParameters, bool readOutputs) {
    const std::string procSig = std::string("CStoredProcedure::") + variant;
    return dataWrap(__FILE__, procSig.c_str(), [&]() -> std::unique_ptr<CRecordset> {
        if (!isConnected()) return std::make_unique<CRecordset>();
        CCommand command;
        command.name = name_;
        command.commandTimeout = commandTimeout_;
        const bool sendParameters = withParameters && parameters_ && parameters_->getCount() > 0;
        if (sendParameters) parameters_->addParametersToCommand(command);
        if (!debugLogPath().empty()) {
            CXMLUtilities factory;
            CLog().writeToXMLDebugLog(debugLogPath(), variant, serialize(factory, kDebuggingNamespaceURI));
        }
        lastCallText_ = getDialect().callText(name_, command.parameters);
        auto rows = runText(lastCallText_, &command.parameters, commandTimeout_);
        if (readOutputs && sendParameters) parameters_->getOutputParametersFromCommand(command.parameters);
        return rows;
    });
}

void CStoredProcedure::execSPNoReturnNoParas() { execute("execSPNoReturnNoParas", false, false); }
void CStoredProcedure::execSPNoReturnParas() { execute("execSPNoReturnParas", true, false); }
void CStoredProcedure::execSPNoReturnParasReturn() { execute("execSPNoReturnParasReturn", true, true); }
std::unique_ptr<CRecordset> CStoredProcedure::execSPReturnNoParas() {
    return execute("execSPReturnNoParas", false, false);
}
std::unique_ptr<CRecordset> CStoredProcedure::execSPReturnParas() { return execute("execSPReturnParas", true, false); }

pugi::xml_node CStoredProcedure::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return dataWrap(__FILE__, "CStoredProcedure::serialize", [&] {
        pugi::xml_node node = factory.createNode("storedProcedure", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("name", name_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createUniversalTimeNode(kErrorsNamespaceURI, CDateTime::now()));
        if (parameters_) CXMLUtilities::appendChild(node, parameters_->serialize(factory, namespaceURI));
        return node;
    });
}

CEXStoredProcedure CStoredProcedure::procedureError(const CComponentError& error, const char* fileName,
                                                    const char* procSig) const {
    CEXStoredProcedure exception(error, name_, fileName, procSig, 2);
    try {
        CXMLUtilities factory;
        pugi::xml_document document;
        CXMLUtilities::appendChild(document, serialize(factory, kErrorsNamespaceURI));
        std::ostringstream text;
        document.save(text, "", pugi::format_raw | pugi::format_no_declaration);
        exception.setCallXml(text.str());
    } catch (...) {  // the error stands without its call
    }
    return exception;
}
