#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "core/ComponentError.h"

// What the database driver reported when a call failed: every diagnostic record, first one first.
// The layers above turn it into the module's exception kinds.
class COdbcFailure : public std::runtime_error {
  public:
    explicit COdbcFailure(std::vector<CComponentError> errors);
    explicit COdbcFailure(CComponentError error) : COdbcFailure(std::vector<CComponentError>{std::move(error)}) {}

    const std::vector<CComponentError>& errors() const { return errors_; }
    // The first record: the one the component error kinds are built from.
    const CComponentError& first() const { return errors_.front(); }

    // Builds the failure from the diagnostics of an ODBC handle (handleType SQL_HANDLE_...);
    // `fallback` is the description when the driver left no record.
    static COdbcFailure fromHandle(short handleType, void* handle, const std::string& source,
                                   const std::string& fallback);

  private:
    std::vector<CComponentError> errors_;
};
