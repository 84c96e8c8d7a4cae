#pragma once
#include <cstddef>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "data/Parameter.h"

// The arguments of one call, in the order they are sent. Owns its parameters.
class CParameters {
  public:
    CParameters() = default;
    ~CParameters() { deleteObjects(); }
    CParameters(const CParameters&) = delete;
    CParameters& operator=(const CParameters&) = delete;

    // Appends and takes ownership; returns the parameter for setting it up.
    template <class Kind>
    Kind& add(std::unique_ptr<Kind> parameter) {
        Kind& added = *parameter;
        items_.push_back(std::move(parameter));
        return added;
    }
    std::size_t getCount() const { return items_.size(); }
    // std::invalid_argument outside 0 to getCount() - 1.
    CParameter& getAt(std::size_t index) const;
    // The first parameter whose name is exactly `name` (letter case counts), or nullptr.
    CParameter* getParameter(const std::string& name) const;

    void addParametersToCommand(CCommand& command) const;
    // Reads back every output and input-output parameter; return values are not read.
    void getOutputParametersFromCommand(const CCommandParameters& parameters);
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;
    // "\tParameters\n\t\tName: <name>\t\tValue: <value>\n" for each parameter.
    void outToString(std::string& output) const;
    void deleteObjects() { items_.clear(); }

  private:
    std::vector<std::unique_ptr<CParameter>> items_;
};

// The helpers the callers build their collections with: name, direction, value (and size).
class CParameterInt;
class CParameterVarChar;
class CParameterDecimal;
class CParameterBoolean;
class CParameterTinyInt;
class CParameterChar;
class CParameterDateTime;
namespace params {
CParameterInt& addInt(CParameters& list, const std::string& name, int value, int direction = CParameter::kInput);
CParameterVarChar& addVarChar(CParameters& list, const std::string& name, const std::string& value, int size = 255,
                              int direction = CParameter::kInput);
// Precision 18, scale 10.
CParameterDecimal& addDecimal(CParameters& list, const std::string& name, double value,
                              int direction = CParameter::kInput);
CParameterBoolean& addBoolean(CParameters& list, const std::string& name, int value,
                              int direction = CParameter::kInput);
CParameterTinyInt& addTinyInt(CParameters& list, const std::string& name, unsigned char value,
                              int direction = CParameter::kInput);
CParameterChar& addChar(CParameters& list, const std::string& name, const std::string& value, int size,
                        int direction = CParameter::kInput);
CParameterDateTime& addDateTime(CParameters& list, const std::string& name, const CDateTime& value,
                                int direction = CParameter::kInput);
}  // namespace params
