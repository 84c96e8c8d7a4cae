// Starts the private server, runs the database tests against it, stops it. Without PostgreSQL or
// its ODBC driver the whole binary is skipped (exit status 77) with a message saying what is missing.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DatabaseServer.h"

namespace {
std::string folder;
bool running = false;

std::string missingSoftware() {
    bool server = false;
    std::error_code ignored;
    if (std::filesystem::exists("/usr/lib/postgresql", ignored))
        for (const auto& entry : std::filesystem::directory_iterator("/usr/lib/postgresql", ignored))
            if (std::filesystem::exists(entry.path() / "bin" / "initdb")) server = true;
    if (!server) return "PostgreSQL (no /usr/lib/postgresql/*/bin/initdb)";
    std::ifstream drivers("/etc/odbcinst.ini");
    std::string line;
    while (std::getline(drivers, line))
        if (line.find("[PostgreSQL Unicode]") != std::string::npos) return {};
    return "the psqlODBC driver ([PostgreSQL Unicode] in /etc/odbcinst.ini)";
}

std::string script(const std::string& action) {
    return std::string(BRINMO_SOURCE_DIR) + "/scripts/db-server.sh " + action + " '" + folder + "'";
}
}  // namespace

namespace dbtest {
const std::string& serverFolder() { return folder; }
void stopServer() {
    if (running && std::system((script("stop") + " >/dev/null").c_str()) == 0) running = false;
}
}  // namespace dbtest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (const std::string missing = missingSoftware(); !missing.empty()) {
        std::printf("SKIPPED: the database tests need %s; scripts/setup.sh installs it\n", missing.c_str());
        return 77;
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "brinmo-db-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return 1;
    folder = pattern;
    if (std::system((script("start") + " >/dev/null").c_str()) != 0) {
        std::fprintf(stderr, "the test server did not start; see %s\n", folder.c_str());
        return 1;
    }
    running = true;
    std::ifstream env(folder + "/connection.env");
    std::string line;
    while (std::getline(env, line)) {
        // export NAME='value'
        const auto eq = line.find('=');
        if (line.rfind("export ", 0) != 0 || eq == std::string::npos) continue;
        std::string value = line.substr(eq + 1);
        if (value.size() >= 2 && value.front() == '\'') value = value.substr(1, value.size() - 2);
        setenv(line.substr(7, eq - 7).c_str(), value.c_str(), 1);
    }
    const int status = RUN_ALL_TESTS();
    dbtest::stopServer();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return status;
}
