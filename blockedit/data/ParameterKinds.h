#pragma once
#include <string>

#include "data/Parameter.h"

// The eight parameter kinds, one per SQL type the procedures use.

class CParameterBoolean : public CParameter {
  public:
    CParameterBoolean() : CParameter(1) {}
    int getADOType() const override { return kBoolean; }
    int getSize() const override { return 1; }
    // Callers pass 0 or 1.
    void setValue(int value);
    int getInt() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "boolean"; }
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterBoolean.cpp"; }
    const char* className() const override { return "CParameterBoolean"; }

  private:
    int typed_ = 0;
};

class CParameterChar : public CParameter {
  public:
    CParameterChar() : CParameter(20) {}
    int getADOType() const override { return kChar; }
    void setValue(std::string value);
    const std::string& getText() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "char"; }
    std::string xmlValueText() const override { return typed_; }
    const char* fileName() const override { return "ParameterChar.cpp"; }
    const char* className() const override { return "CParameterChar"; }

  private:
    std::string typed_;
};

class CParameterDateTime : public CParameter {
  public:
    CParameterDateTime() : CParameter(0) {}
    int getADOType() const override { return kDBTimeStamp; }
    int getSize() const override { return 0; }
    // An invalid date-time is sent as null, still as a date-time.
    void setValue(const CDateTime& value);
    const CDateTime& getDateTime() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "dateTime"; }
    // "%Y%m%d%Hh%M%S_"
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterDateTime.cpp"; }
    const char* className() const override { return "CParameterDateTime"; }

  private:
    CDateTime typed_;
};

class CParameterDecimal : public CParameter {
  public:
    CParameterDecimal() : CParameter(9) {}
    int getADOType() const override { return kNumeric; }
    void setValue(double value);
    double getDouble() const { return typed_; }
    void setPrecision(unsigned char precision) { precision_ = precision; }
    void setNumericScale(unsigned char scale) { numericScale_ = scale; }
    unsigned char getPrecision() const { return precision_; }
    unsigned char getNumericScale() const { return numericScale_; }
    void addParameterToCommand(CCommand& command) const override;

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "decimal"; }
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterDecimal.cpp"; }
    const char* className() const override { return "CParameterDecimal"; }

  private:
    double typed_ = 0.0;
    unsigned char precision_ = 0;
    unsigned char numericScale_ = 0;
};

class CParameterFloat : public CParameter {
  public:
    CParameterFloat() : CParameter(8) {}
    int getADOType() const override { return kNumeric; }
    int getSize() const override { return 8; }
    void setValue(double value);
    double getDouble() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "float"; }
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterFloat.cpp"; }
    const char* className() const override { return "CParameterFloat"; }

  private:
    double typed_ = 0.0;
};

class CParameterInt : public CParameter {
  public:
    CParameterInt() : CParameter(4) {}
    int getADOType() const override { return kInteger; }
    int getSize() const override { return 4; }
    void setValue(int value);
    int getInt() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "int"; }
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterInt.cpp"; }
    const char* className() const override { return "CParameterInt"; }

  private:
    int typed_ = 0;
};

class CParameterTinyInt : public CParameter {
  public:
    CParameterTinyInt() : CParameter(1) {}
    int getADOType() const override { return kTinyInt; }
    int getSize() const override { return 1; }
    void setValue(unsigned char value);
    unsigned char getByte() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "tinyInt"; }
    std::string xmlValueText() const override;
    const char* fileName() const override { return "ParameterTinyInt.cpp"; }
    const char* className() const override { return "CParameterTinyInt"; }

  private:
    unsigned char typed_ = 0;
};

class CParameterVarChar : public CParameter {
  public:
    CParameterVarChar() : CParameter(255) {}
    int getADOType() const override { return kVarChar; }
    // Not truncated to the size: the server decides what a longer text becomes.
    void setValue(std::string value);
    const std::string& getText() const { return typed_; }

  protected:
    void readBack(const CParameterValue& answer) override;
    const char* xmlTypeName() const override { return "varchar"; }
    std::string xmlValueText() const override { return typed_; }
    const char* fileName() const override { return "ParameterVarChar.cpp"; }
    const char* className() const override { return "CParameterVarChar"; }

  private:
    std::string typed_;
};
