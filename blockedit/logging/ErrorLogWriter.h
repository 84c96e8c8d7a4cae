#pragma once
#include "core/EXKorva.h"

class CPreferencesZerOda;

// Lets an exception chain report itself to the error log of every server of the document monitor
// settings (CEXKorva::reportToErrorLog). The settings must outlive the writer.
class CErrorLogWriter : public IErrorLogWriter {
  public:
    explicit CErrorLogWriter(const CPreferencesZerOda& settings) : settings_(settings) {}

    std::size_t serverCount() const override;
    void writeError(std::size_t server, const CEXKorva& exception) override;

  private:
    const CPreferencesZerOda& settings_;
};
