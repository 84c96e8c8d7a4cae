#pragma once
// The live server of the database tests: one private PostgreSQL cluster per test run, started by
// main() with scripts/db-server.sh and stopped at the end.
#include <memory>
#include <string>

#include "../blockedit/TestFiles.h"
#include "data/DatabaseSettings.h"
#include "data/SQLStatement.h"
#include "data/StoredProcedure.h"

namespace dbtest {
// The folder the server runs in (its socket, logs and connection.env).
const std::string& serverFolder();
// Stops the server (the mid-run failure test); the tests after it see a server that is down.
void stopServer();

inline CDatabaseSettings settings() { return CDatabaseSettings::resolve(nullptr); }

inline std::unique_ptr<CStoredProcedure> procedure(const std::string& catalog = "propdb", int timeout = 10) {
    const CDatabaseSettings s = settings();
    return std::make_unique<CStoredProcedure>(s.dataSource, catalog, s.userID, s.password, timeout);
}

// Runs SQL on its own connection; the first field of the first row, "" when none or null.
inline std::string sql(const std::string& text, const std::string& catalog = "propdb") {
    const CDatabaseSettings s = settings();
    CSQLStatement statement(s.dataSource, catalog, s.userID, s.password, 10);
    auto rows = statement.execSQLReturn(text);
    if (rows->isEOF() || rows->columns().empty()) return {};
    return rows->getText(rows->columns().front());
}

using testfiles::readText;
}  // namespace dbtest
