#pragma once
#include <memory>
#include <string>

#include "data/Command.h"
#include "data/Recordset.h"
#include "data/SqlDialect.h"

// Runs one text on an open ODBC connection: binds the parameters in the dialect's order, executes
// directly (a prepared "{? = call}" fails on some drivers), reads every result to its end, keeping
// the first one that has columns, and only then stores the output values into the parameters.
class COdbcStatement {
  public:
    // connection is the SQLHDBC; source names the driver in failures.
    COdbcStatement(void* connection, const CSqlDialect& dialect, std::string source);
    ~COdbcStatement();
    COdbcStatement(const COdbcStatement&) = delete;
    COdbcStatement& operator=(const COdbcStatement&) = delete;

    // timeoutSeconds 0: no limit. parameters may be null. Throws COdbcFailure.
    std::unique_ptr<CRecordset> run(const std::string& text, CCommandParameters* parameters, int timeoutSeconds);

  private:
    void* statement_ = nullptr;
    const CSqlDialect& dialect_;
    std::string source_;
};
