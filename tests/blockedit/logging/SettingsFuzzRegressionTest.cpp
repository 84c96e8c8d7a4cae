#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/editor/HostOutput.h"
#include "logging/PreferencesZerOda.h"

namespace fs = std::filesystem;

namespace {

const fs::path kRegressions = fs::path(BRINMO_SOURCE_DIR) / "fuzz" / "settings_regressions";

}  // namespace

// Every input kept for the settings reader's fuzz target is read as the module's settings file
// without a throw, and every server element of a readable file gives a record.
TEST(SettingsFuzzRegression, KeptInputsLoadWithoutAThrow) {
    ASSERT_TRUE(fs::is_directory(kRegressions)) << kRegressions;
    cad::CapturedOutput quiet;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(kRegressions)) {
        if (entry.path().extension() != ".xml") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ASSERT_EQ(::setenv("BRINMO_MODULE_SETTINGS", entry.path().c_str(), 1), 0);
        CPreferencesZerOda settings;
        EXPECT_NO_THROW(loadDocumentMonitorSettings(settings));
        EXPECT_GE(settings.getCount(), 1);
        ++count;
    }
    ::unsetenv("BRINMO_MODULE_SETTINGS");
    EXPECT_GE(count, 2);
}
