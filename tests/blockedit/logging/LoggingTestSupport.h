#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../TestFiles.h"

using testfiles::ScopedEnvironment;
using testfiles::TempFolder;

inline std::string readFile(const std::string& path) { return testfiles::readText(path); }
inline void writeFile(const std::string& path, const std::string& text) { testfiles::writeText(path, text); }

inline bool toolAvailable(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command line; answers its exit status (-1 when it did not exit normally).
inline int runCommand(const std::string& command) {
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string quoted(const std::string& path) {
    return "'" + path + "'";
}

// xmllint's verdict on a file: true when it is well-formed (and its namespaces are consistent).
inline bool xmllintAccepts(const std::string& path) {
    return runCommand("xmllint --noout " + quoted(path) + " 2>/dev/null") == 0;
}

// The log in `folder` rendered by the stylesheet beside it; empty when xsltproc fails.
inline std::string rendered(const TempFolder& folder, const std::string& log, const std::string& stylesheet) {
    const std::string html = folder.file("page.html");
    if (runCommand("xsltproc -o " + quoted(html) + " " + quoted(folder.file(stylesheet)) + " " +
                   quoted(folder.file(log)) + " 2>/dev/null") != 0)
        return {};
    return readFile(html);
}
