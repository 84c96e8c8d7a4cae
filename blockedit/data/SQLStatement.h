#pragma once
#include <memory>
#include <string>

#include "data/DataServices.h"

// Runs plain SQL text on its connection.
class CSQLStatement : public CDataServices {
  public:
    CSQLStatement(std::string dataSource, std::string catalog, std::string userID, std::string password,
                  int timeout);

    // True once the text ran; false, doing nothing, when not connected.
    bool execSQLNoReturn(const std::string& sql);
    // The rows of the text; an empty record set when not connected.
    std::unique_ptr<CRecordset> execSQLReturn(const std::string& sql);

  private:
    int timeout_;
};
