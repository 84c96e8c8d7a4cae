#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "module/CsvOpener.h"

namespace fs = std::filesystem;

TEST(CsvOpener, StartsTheProgramOnTheFileInTheHostProgramsFolder) {
    const fs::path dir = fs::temp_directory_path() / ("brinmo-opener-" + std::to_string(::getpid()));
    fs::create_directories(dir / "with blank");
    // The "CSV file" is a shell script here, so that the started program tells where it ran.
    const fs::path file = dir / "with blank" / "plan.csv";
    const fs::path marker = dir / "ran.txt";
    std::ofstream(file) << "pwd > '" << marker.string() << "'\n";

    CCsvOpener::start("/bin/sh", file.string());
    for (int i = 0; i < 200 && !fs::exists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(marker);
    std::string folder;
    std::getline(in, folder);
    EXPECT_EQ(folder, CCsvOpener::hostProgramFolder());

    // A program that does not exist starts nothing and reports nothing.
    EXPECT_NO_THROW(CCsvOpener::start((dir / "no such program").string(), file.string()));
    std::error_code ec;
    fs::remove_all(dir, ec);
}
