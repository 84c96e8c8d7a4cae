#include "data/ParameterKinds.h"

#include <fmt/format.h>

#include "core/Utilities.h"
#include "data/DataWrap.h"

namespace {
// The server's answer in the kind a parameter reads it back as.
int answerInt(const CParameterValue& v) {
    if (auto* i = std::get_if<int>(&v)) return *i;
    if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
    if (auto* c = std::get_if<unsigned char>(&v)) return *c;
    if (auto* d = std::get_if<double>(&v)) return static_cast<int>(*d);
    if (auto* s = std::get_if<std::string>(&v)) return CUtilities::CStringToInt(*s);
    return 0;
}
double answerDouble(const CParameterValue& v) {
    if (auto* d = std::get_if<double>(&v)) return *d;
    if (auto* s = std::get_if<std::string>(&v)) return CUtilities::CStringToDouble(*s);
    return answerInt(v);
}
std::string answerText(const CParameterValue& v) { return parameterValueText(v); }
}  // namespace

void CParameterBoolean::setValue(int value) {
    typed_ = value;
    value_ = value != 0;
}
void CParameterBoolean::readBack(const CParameterValue& answer) { setValue(answerInt(answer)); }
std::string CParameterBoolean::xmlValueText() const { return std::to_string(typed_); }

void CParameterChar::setValue(std::string value) {
    typed_ = value;
    value_ = std::move(value);
}
void CParameterChar::readBack(const CParameterValue& answer) { setValue(answerText(answer)); }

void CParameterDateTime::setValue(const CDateTime& value) {
    typed_ = value;
    if (value.isValid())
        value_ = value;
    else
        value_ = std::monostate{};
}
void CParameterDateTime::readBack(const CParameterValue& answer) {
    if (auto* t = std::get_if<CDateTime>(&answer)) setValue(*t);
}
std::string CParameterDateTime::xmlValueText() const {
    return fmt::format("{:04}{:02}{:02}{:02}h{:02}{:02}_", typed_.year(), typed_.month(), typed_.day(),
                       typed_.hour(), typed_.minute(), typed_.second());
}

void CParameterDecimal::setValue(double value) {
    typed_ = value;
    value_ = value;
}
void CParameterDecimal::addParameterToCommand(CCommand& command) const {
    dataWrap(fileName(), "CParameterDecimal::addParameterToCommand", [&] {
        CCommandParameter parameter = commandParameter();
        parameter.precision = precision_;
        parameter.numericScale = numericScale_;
        command.parameters.append(std::move(parameter));
    });
}
void CParameterDecimal::readBack(const CParameterValue& answer) { setValue(answerDouble(answer)); }
std::string CParameterDecimal::xmlValueText() const { return CUtilities::DoubleToCString(typed_, 5); }

void CParameterFloat::setValue(double value) {
    typed_ = value;
    value_ = value;
}
void CParameterFloat::readBack(const CParameterValue& answer) { setValue(answerDouble(answer)); }
std::string CParameterFloat::xmlValueText() const { return CUtilities::DoubleToCString(typed_, 5); }

void CParameterInt::setValue(int value) {
    typed_ = value;
    value_ = value;
}
void CParameterInt::readBack(const CParameterValue& answer) { setValue(answerInt(answer)); }
std::string CParameterInt::xmlValueText() const { return CUtilities::LongToCString(typed_); }

void CParameterTinyInt::setValue(unsigned char value) {
    typed_ = value;
    value_ = value;
}
void CParameterTinyInt::readBack(const CParameterValue& answer) {
    setValue(static_cast<unsigned char>(answerInt(answer)));
}
std::string CParameterTinyInt::xmlValueText() const { return std::to_string(static_cast<int>(typed_)); }

void CParameterVarChar::setValue(std::string value) {
    typed_ = value;
    value_ = std::move(value);
}
void CParameterVarChar::readBack(const CParameterValue& answer) { setValue(answerText(answer)); }
