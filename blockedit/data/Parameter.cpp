#include "data/Parameter.h"

#include "core/Utilities.h"
#include "data/DataWrap.h"
#include "logging/XMLUtilities.h"

CCommandParameter CParameter::commandParameter() const {
    CCommandParameter parameter;
    parameter.name = name_;
    parameter.type = getADOType();
    parameter.direction = direction_;
    parameter.size = getSize();
    parameter.value = value_;
    return parameter;
}

void CParameter::addParameterToCommand(CCommand& command) const {
    const std::string procSig = std::string(className()) + "::addParameterToCommand";
    dataWrap(fileName(), procSig.c_str(), [&] { command.parameters.append(commandParameter()); });
}

void CParameter::getOutputParametersFromCommand(const CCommandParameters& parameters) {
    const std::string procSig = std::string(className()) + "::getOutputParametersFromCommand";
    dataWrap(fileName(), procSig.c_str(), [&] {
        const CCommandParameter& answer = parameters.item(name_);
        if (!isNullValue(answer.value)) readBack(answer.value);
    });
}

pugi::xml_node CParameter::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    const std::string procSig = std::string(className()) + "::serialize";
    return dataWrap(fileName(), procSig.c_str(), [&] {
        pugi::xml_node node = factory.createNode("parameter", namespaceURI);
        CXMLUtilities::appendChild(node, factory.createNode("parameterName", name_, namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("parameterType", xmlTypeName(), namespaceURI));
        CXMLUtilities::appendChild(
            node, factory.createNode("parameterSize", CUtilities::IntToCString(getSize()), namespaceURI));
        CXMLUtilities::appendChild(node, factory.createNode("parameterValue", xmlValueText(), namespaceURI));
        return node;
    });
}
