#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "../TestFiles.h"
#include "module/CsvOpener.h"

namespace fs = std::filesystem;

TEST(CsvOpener, StartsTheProgramOnTheFileInTheHostProgramsFolder) {
    testfiles::TempFolder scratch;
    const fs::path& dir = scratch.path();
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
}
