#include "logging/ErrorRecord.h"

#include "core/EXKorva.h"
#include "core/KorvaWrap.h"
#include "logging/DateTime.h"
#include "logging/LogNamespaces.h"
#include "logging/XMLUtilities.h"

namespace {

pugi::xml_node errorElement(CXMLUtilities& factory, const CEXKorva& error) {
    const std::string ns = kErrorsNamespaceURI;
    pugi::xml_node entry = factory.createNode("error", ns);
    CXMLUtilities::appendChild(entry, factory.createUniversalTimeNode(ns, CDateTime::now()));
    CXMLUtilities::appendChild(entry, factory.createNode("class", error.getClass(), ns));
    CXMLUtilities::appendChild(entry, factory.createNode("procSig", error.getProcSig(), ns));
    CXMLUtilities::appendChild(entry, factory.createNode("source", error.getSource(), ns));
    CXMLUtilities::appendChild(entry, factory.createNode("description", error.getDescription(), ns));
    CXMLUtilities::appendChild(entry, factory.createNode("severity", error.getSeverityText(), ns));
    if (const CEXKorva* inner = error.getInnerException()) {
        pugi::xml_node wrapper = CXMLUtilities::appendChild(entry, factory.createNode("innerException", ns));
        CXMLUtilities::appendChild(wrapper, errorElement(factory, *inner));
    }
    return entry;
}

}  // namespace

pugi::xml_node serializeError(CXMLUtilities& factory, const CEXKorva& error) {
    return korvaWrap(__FILE__, "serializeError", [&] { return errorElement(factory, error); });
}
