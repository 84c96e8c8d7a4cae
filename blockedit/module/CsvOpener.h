#pragma once
#include <string>

// Starts the program a user chose for CSV files on one file.
class CCsvOpener {
public:
    // Runs `opener` with `csvPath` as its one argument, in a process of its own working in the
    // folder of the host program's executable, with the host's open files and environment.
    // Whether it started is not checked: a program that cannot be started opens nothing and
    // reports nothing, as the user can open the file named on the command line by hand.
    static void start(const std::string& opener, const std::string& csvPath);

    // The folder of the running program's executable ("" when it cannot be told).
    static std::string hostProgramFolder();
};
