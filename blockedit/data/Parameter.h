#pragma once
#include <pugixml.hpp>
#include <string>

#include "data/Command.h"
#include "data/ParameterValue.h"

class CXMLUtilities;

// One typed argument of a stored-procedure call. The kinds differ in their type code, size, the
// value they take and how they read back what the server returned.
class CParameter {
  public:
    // Type codes the procedures are declared for.
    static constexpr int kBoolean = 11;
    static constexpr int kChar = 129;
    static constexpr int kDBTimeStamp = 135;
    static constexpr int kNumeric = 131;
    static constexpr int kInteger = 3;
    static constexpr int kTinyInt = 16;
    static constexpr int kVarChar = 200;
    // Directions.
    static constexpr int kInput = 1;
    static constexpr int kOutput = 2;
    static constexpr int kInputOutput = 3;
    static constexpr int kReturnValue = 4;

    virtual ~CParameter() = default;
    CParameter(const CParameter&) = delete;
    CParameter& operator=(const CParameter&) = delete;

    virtual int getADOType() const = 0;
    virtual int getSize() const { return size_; }
    CParameterValue getValue() const { return value_; }

    // Appends this parameter (name, type, direction, size, value) to the call.
    virtual void addParameterToCommand(CCommand& command) const;
    // Takes the value the server returned for the parameter of the same name; a null answer
    // leaves the value as it was sent.
    void getOutputParametersFromCommand(const CCommandParameters& parameters);
    // <parameter> with parameterName, parameterType, parameterSize and parameterValue.
    pugi::xml_node serialize(CXMLUtilities& factory, const std::string& namespaceURI) const;

    const std::string& getName() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    int getDirection() const { return direction_; }
    void setDirection(int direction) { direction_ = direction; }
    void setSize(int size) { size_ = size; }

  protected:
    explicit CParameter(int size) : size_(size) {}
    // Stores the server's (non-null) answer through the kind's setValue.
    virtual void readBack(const CParameterValue& answer) = 0;
    virtual const char* xmlTypeName() const = 0;
    virtual std::string xmlValueText() const = 0;
    // The kind's file name and class name, for the error chain.
    virtual const char* fileName() const = 0;
    virtual const char* className() const = 0;

    CCommandParameter commandParameter() const;

    int size_ = 0;
    CParameterValue value_;

  private:
    std::string name_;
    int direction_ = kInput;
};
