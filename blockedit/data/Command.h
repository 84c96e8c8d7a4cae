#pragma once
#include <string>
#include <vector>

#include "data/ParameterValue.h"

// One parameter of a call as it goes to the driver: the parameter's name, type code, direction,
// size and value; the driver's answer for an output parameter is stored back into value.
struct CCommandParameter {
    std::string name;
    int type = 0;       // type code (CParameter::getADOType)
    int direction = 1;  // 1 input, 2 output, 3 input and output, 4 return value
    int size = 0;
    int precision = 0;  // decimals only
    int numericScale = 0;
    CParameterValue value;
};

// The parameters of one call, in the order they are sent.
class CCommandParameters {
  public:
    void append(CCommandParameter parameter) { items_.push_back(std::move(parameter)); }
    std::size_t count() const { return items_.size(); }
    CCommandParameter& at(std::size_t index) { return items_.at(index); }
    const CCommandParameter& at(std::size_t index) const { return items_.at(index); }
    // The parameter of that exact name; a name the call does not hold is the driver's error
    // (COdbcFailure), as the command's own collection reports it.
    const CCommandParameter& item(const std::string& name) const;

  private:
    std::vector<CCommandParameter> items_;
};

// One execution of a stored procedure: the procedure's name, its time-out and its parameters.
struct CCommand {
    std::string name;
    int commandTimeout = 0;
    CCommandParameters parameters;
};
