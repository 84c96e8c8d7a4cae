#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "../TestFiles.h"
#include "engine/editor/HostOutput.h"
#include "reports/GraphicReport.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRegressions = fs::path(BRINMO_SOURCE_DIR) / "fuzz" / "report_regressions";

std::string withoutScale(const std::string& text) {
    std::istringstream in(text);
    std::string line, kept;
    while (std::getline(in, line))
        if (line.find("<grPlotScaleTypeID>") == std::string::npos) kept += line + "\n";
    return kept;
}

std::string generation(const std::string& from, const std::string& to) {
    CGraphicReport report;
    report.deSerialize(from);
    report.serialize(to);
    return testfiles::readText(to);
}

}  // namespace

// Every input that once tripped the report reader's fuzz target: read without a throw, and what is
// written settles from the second generation on (as the target checks).
TEST(ReportFuzzRegression, KeptInputsReadAndSettle) {
    ASSERT_TRUE(fs::is_directory(kRegressions)) << kRegressions;
    testfiles::TempFolder folder;
    cad::CapturedOutput quiet;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kRegressions)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        ++count;
        SCOPED_TRACE(entry.path().filename().string());
        std::string two, three;
        ASSERT_NO_THROW({
            generation(entry.path().string(), folder.file("1.xml"));
            two = generation(folder.file("1.xml"), folder.file("2.xml"));
            three = generation(folder.file("2.xml"), folder.file("3.xml"));
        });
        EXPECT_EQ(withoutScale(two), withoutScale(three));
    }
    EXPECT_GT(count, 0);
}
