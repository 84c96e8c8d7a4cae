#pragma once
// The live server of the database tests: one private PostgreSQL cluster per test run, started by
// main() with scripts/db-server.sh and stopped at the end.
#include <string>

namespace dbtest {
// The folder the server runs in (its socket, logs and connection.env).
const std::string& serverFolder();
// Stops the server (the mid-run failure test); the tests after it see a server that is down.
void stopServer();
}  // namespace dbtest
