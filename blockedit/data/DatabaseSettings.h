#pragma once
#include <string>

class CServerPreferenceZerOda;

// Where the database connection comes from: a server record of the document-monitor settings
// (dbDatasource, dbUserID, dbPassword, dbTimeout), each overridden by its environment variable
// when that is set: BRINMO_DB_DATASOURCE, BRINMO_DB_USER, BRINMO_DB_PASSWORD, BRINMO_DB_TIMEOUT.
struct CDatabaseSettings {
    std::string dataSource;
    std::string userID;
    std::string password;
    int timeout = 0;

    // record may be null: then only the environment counts.
    static CDatabaseSettings resolve(const CServerPreferenceZerOda* record);
    bool isComplete() const { return !dataSource.empty(); }
};
