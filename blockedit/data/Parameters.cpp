#include "data/Parameters.h"

#include <stdexcept>

#include "data/DataWrap.h"
#include "data/ParameterKinds.h"
#include "logging/XMLUtilities.h"

CParameter& CParameters::getAt(std::size_t index) const {
    if (index >= items_.size()) throw std::invalid_argument("parameter index out of range");
    return *items_[index];
}

CParameter* CParameters::getParameter(const std::string& name) const {
    for (const auto& parameter : items_)
        if (parameter->getName() == name) return parameter.get();
    return nullptr;
}

void CParameters::addParametersToCommand(CCommand& command) const {
    dataWrap(__FILE__, "CParameters::addParametersToCommand", [&] {
        for (const auto& parameter : items_) parameter->addParameterToCommand(command);
    });
}

void CParameters::getOutputParametersFromCommand(const CCommandParameters& parameters) {
    dataWrap(__FILE__, "CParameters::getOutputParametersFromCommand", [&] {
        for (const auto& parameter : items_) {
            const int direction = parameter->getDirection();
            if (direction == CParameter::kOutput || direction == CParameter::kInputOutput)
                parameter->getOutputParametersFromCommand(parameters);
        }
    });
}

pugi::xml_node CParameters::serialize(CXMLUtilities& factory, const std::string& namespaceURI) const {
    return dataWrap(__FILE__, "CParameters::serialize", [&] {
        pugi::xml_node node = factory.createNode("parameters", namespaceURI);
        for (const auto& parameter : items_)
            CXMLUtilities::appendChild(node, parameter->serialize(factory, namespaceURI));
        return node;
    });
}

void CParameters::outToString(std::string& output) const {
    output.clear();
    for (const auto& parameter : items_) {
        output += "\tParameters\n";
        output += "\t\tName: " + parameter->getName();
        output += "\t\tValue: " + parameterValueText(parameter->getValue()) + "\n";
    }
}

namespace params {
namespace {
template <class Kind, class Value>
Kind& addKind(CParameters& list, const std::string& name, Value&& value, int direction) {
    auto parameter = std::make_unique<Kind>();
    parameter->setName(name);
    parameter->setDirection(direction);
    parameter->setValue(std::forward<Value>(value));
    return list.add(std::move(parameter));
}
}  // namespace

CParameterInt& addInt(CParameters& list, const std::string& name, int value, int direction) {
    return addKind<CParameterInt>(list, name, value, direction);
}
CParameterVarChar& addVarChar(CParameters& list, const std::string& name, const std::string& value, int size,
                              int direction) {
    CParameterVarChar& parameter = addKind<CParameterVarChar>(list, name, value, direction);
    parameter.setSize(size);
    return parameter;
}
CParameterDecimal& addDecimal(CParameters& list, const std::string& name, double value, int direction) {
    CParameterDecimal& parameter = addKind<CParameterDecimal>(list, name, value, direction);
    parameter.setPrecision(18);
    parameter.setNumericScale(10);
    return parameter;
}
CParameterBoolean& addBoolean(CParameters& list, const std::string& name, int value, int direction) {
    return addKind<CParameterBoolean>(list, name, value, direction);
}
CParameterTinyInt& addTinyInt(CParameters& list, const std::string& name, unsigned char value, int direction) {
    return addKind<CParameterTinyInt>(list, name, value, direction);
}
CParameterChar& addChar(CParameters& list, const std::string& name, const std::string& value, int size,
                        int direction) {
    CParameterChar& parameter = addKind<CParameterChar>(list, name, value, direction);
    parameter.setSize(size);
    return parameter;
}
CParameterDateTime& addDateTime(CParameters& list, const std::string& name, const CDateTime& value, int direction) {
    return addKind<CParameterDateTime>(list, name, value, direction);
}
}  // namespace params
