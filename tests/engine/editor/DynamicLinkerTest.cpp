#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"

using namespace cad;
namespace fs = std::filesystem;

namespace {

// The modules are built with the tests, so a module that stops compiling fails the build.
class TestModules : public ::testing::Test {
protected:
    static inline const std::string unlocked_ = BRINMO_TEST_MODULE;
    static inline const std::string locked_ = BRINMO_LOCKED_TEST_MODULE;
};

}  // namespace

TEST_F(TestModules, LoadRunUnloadDropsEveryCommandOfTheModule) {
    CapturedOutput out;
    ScriptInput input;
    HostApplication host(HostProfile::BricsCAD, input);
    DynamicLinker& linker = host.dynamicLinker();

    auto loaded = linker.loadModule(unlocked_);
    ASSERT_TRUE(loaded.ok) << loaded.message;
    EXPECT_EQ(linker.loadedModules(), std::vector<std::string>{"testmodule.arx"});
    EXPECT_TRUE(linker.loadModule(unlocked_).ok);  // a second load changes nothing
    EXPECT_EQ(linker.loadedModules().size(), 1u);

    host.runCommandLine("TESTHELLO");
    host.runCommandLine("_tleft");
    EXPECT_EQ(out.text(), "test module loaded\nhello from BricsCAD V18\nleft\n");

    auto unloaded = linker.unloadModule("testmodule");
    ASSERT_TRUE(unloaded.ok) << unloaded.message;
    EXPECT_EQ(host.commandStack().lookup("thello"), nullptr);
    EXPECT_EQ(host.commandStack().lookup("tleft"), nullptr);  // left behind by the module, dropped by the host
    EXPECT_TRUE(linker.loadedModules().empty());
    EXPECT_FALSE(linker.unloadModule("testmodule").ok);
}

TEST_F(TestModules, LockedModuleStaysUntilTheHostEnds) {
    CapturedOutput out;
    {
        ScriptInput input;
        HostApplication host(HostProfile::AutoCAD, input);
        ASSERT_TRUE(host.dynamicLinker().loadModule(locked_).ok);
        auto refused = host.dynamicLinker().unloadModule(locked_);
        EXPECT_FALSE(refused.ok);
        EXPECT_NE(refused.message.find("locked"), std::string::npos);
        EXPECT_NE(host.commandStack().lookup("testHello"), nullptr);
        out.clear();
    }
    // Ending the host unloads every module, locked or not.
    EXPECT_EQ(out.text(), "test module unloaded\n");
}

TEST(DynamicLinker, BadModuleFilesAreNamedInTheMessage) {
    CapturedOutput out;
    ScriptInput input;
    HostApplication host(HostProfile::AutoCAD, input);
    auto missing = host.dynamicLinker().loadModule("/no/such/module.arx");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.message.find("/no/such/module.arx"), std::string::npos);

    fs::path junk = fs::temp_directory_path() / ("brinmo-junk-" + std::to_string(::getpid()) + ".arx");
    std::ofstream(junk) << "not a shared library";
    auto bad = host.dynamicLinker().loadModule(junk.string());
    EXPECT_FALSE(bad.ok);
    EXPECT_NE(bad.message.find(junk.string()), std::string::npos);
    fs::remove(junk);
}
