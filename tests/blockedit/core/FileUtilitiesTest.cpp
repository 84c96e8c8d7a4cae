#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "../TestFiles.h"
#include "core/FileUtilities.h"
#include "core/TempFiles.h"
#include "engine/dialogs/FileDialog.h"
#include "engine/editor/HostOutput.h"

namespace fs = std::filesystem;
using F = CFileUtilities;

namespace {

using testfiles::TempFolder;

int pathType(std::string path, PathSyntax syntax) { return F::getPathType(path, syntax); }

}  // namespace

TEST(Paths, WindowsPathTypes) {
    const auto W = PathSyntax::Windows;
    std::string folder = "C:\\plots\\";
    EXPECT_EQ(F::getPathType(folder, W), F::kFolderPath);
    EXPECT_EQ(folder, "C:\\plots\\");
    folder = "C:\\plots";
    EXPECT_EQ(F::getPathType(folder, W), F::kFolderPath);
    EXPECT_EQ(folder, "C:\\plots\\");
    folder = "\\\\server\\share|x";
    EXPECT_EQ(F::getPathType(folder, W), F::kFolderPath);
    EXPECT_EQ(folder, "\\\\server\\sharex\\");

    EXPECT_EQ(pathType("C:\\plots\\a.dwg", W), F::kFullFilePath);
    EXPECT_EQ(pathType("\\\\server\\plots\\a.dwg", W), F::kFullFilePath);
    EXPECT_EQ(pathType("a.dwg", W), F::kBareFileName);
    EXPECT_EQ(pathType("plots\\a.dwg", W), F::kUnusablePath);
    EXPECT_EQ(pathType("plots\\old", W), F::kUnusablePath);
    EXPECT_EQ(pathType("C:/plots/a.dwg", W), F::kUnusablePath);
    EXPECT_EQ(pathType("", W), F::kUnusablePath);
    EXPECT_EQ(pathType("readme", W), F::kUnusablePath);
    EXPECT_EQ(pathType("a?.dwg", W), F::kUnusablePath);
    EXPECT_EQ(pathType("a:b:c.dwg", W), F::kUnusablePath);
}

TEST(Paths, PosixPathTypes) {
    const auto P = PathSyntax::Posix;
    std::string folder = "/srv/plots";
    EXPECT_EQ(F::getPathType(folder), F::kFolderPath);  // POSIX is the default here
    EXPECT_EQ(folder, "/srv/plots/");
    folder = "/srv/plo*ts:2/";
    EXPECT_EQ(F::getPathType(folder, P), F::kFolderPath);
    EXPECT_EQ(folder, "/srv/plots:2/");

    EXPECT_EQ(pathType("/srv/plots/a.dxf", P), F::kFullFilePath);
    EXPECT_EQ(pathType("a.dxf", P), F::kBareFileName);
    EXPECT_EQ(pathType("a:b:c.dxf", P), F::kBareFileName);
    EXPECT_EQ(pathType("plots/a.dxf", P), F::kUnusablePath);
    EXPECT_EQ(pathType("plots/old", P), F::kUnusablePath);
    EXPECT_EQ(pathType("C:\\plots\\a.dwg", P), F::kUnusablePath);
    EXPECT_EQ(pathType("a<1>.dxf", P), F::kUnusablePath);
    EXPECT_EQ(pathType("", P), F::kUnusablePath);
}

TEST(Paths, FileAndFolderSyntax) {
    const auto W = PathSyntax::Windows, P = PathSyntax::Posix;
    struct Case {
        const char* name;
        PathSyntax syntax;
        const char* repaired;
        int unrepairedResult;
    };
    const Case cases[] = {
        {"plot.pdf", W, "plot.pdf", 1},
        {"pl*o?t\"<>|.pdf", W, "plot.pdf", 0},
        {"C:\\a:b:c.pdf", W, "C:\\abc.pdf", 0},
        {":a:b", W, ":a:b", 1},  // the colon at index 0 is not counted
        {"\\plot.pdf", W, "plot.pdf", 0},
        {"/plot.pdf", W, "plot.pdf", 0},
        {"a:b:c.pdf", P, "a:b:c.pdf", 1},
        {"/plot.pdf", P, "plot.pdf", 0},
        {"\\plot.pdf", P, "\\plot.pdf", 1},
        {"p|lot.pdf", P, "plot.pdf", 0},
        {"", W, "", 1},
    };
    for (const Case& c : cases) {
        std::string name = c.name;
        EXPECT_EQ(F::checkFilenameSyntax(name, false, c.syntax), c.unrepairedResult) << c.name;
        EXPECT_EQ(name, c.name) << "unchanged without repair";
        EXPECT_EQ(F::checkFilenameSyntax(name, true, c.syntax), 1) << c.name;
        EXPECT_EQ(name, c.repaired);
    }

    const std::pair<std::string, std::string> windowsFolders[] = {
        {"C:\\plots", "C:\\plots\\"},
        {"C:\\pl:ots\\", "C:\\plots\\"},
        {"C:\\a*b?\"<>|", "C:\\ab\\"},
        {":C\\x", "C\\x\\"},
        {"", ""},
    };
    for (auto [in, out] : windowsFolders) {
        F::checkPathSyntax(in, W);
        EXPECT_EQ(in, out);
    }
    const std::pair<std::string, std::string> posixFolders[] = {
        {"/srv/plots", "/srv/plots/"}, {"/srv/a:b/", "/srv/a:b/"}, {"/a*b?", "/ab/"}, {"", ""}, {"/", "/"}};
    for (auto [in, out] : posixFolders) {
        F::checkPathSyntax(in, P);
        EXPECT_EQ(in, out);
    }

    EXPECT_EQ(F::swapFileExtension("  plan.dwg \t", ".dwg", ".xml"), "plan.xml");
    EXPECT_EQ(F::swapFileExtension("plan.DWG", ".dwg", ".xml"), "plan.DWG.xml");
    EXPECT_EQ(F::swapFileExtension("plan", ".dwg", ".pdf"), "plan.pdf");
    EXPECT_EQ(F::swapFileExtension("   ", ".dwg", ".pdf"), ".pdf");
}

TEST(Files, ExistenceCreationAndDeletion) {
    TempFolder scratch;
    cad::CapturedOutput output;

    EXPECT_TRUE(F::directoryExists(scratch.path().string()));
    EXPECT_TRUE(F::directoryExists(scratch.path().string() + "/"));
    EXPECT_TRUE(F::directoryExists("/"));
    EXPECT_FALSE(F::directoryExists(scratch.file("nothing")));

    const std::string deep = scratch.file("a/b/c/");
    EXPECT_TRUE(F::ensureDirectoryExists(deep));
    EXPECT_TRUE(fs::is_directory(scratch.file("a/b/c")));
    EXPECT_TRUE(F::ensureDirectoryExists(deep));
    EXPECT_FALSE(F::ensureDirectoryExists("no-such-relative-folder-here"));
    EXPECT_TRUE(F::ensureDirectoryExists("/"));

    const std::string file = scratch.file("a/plan.dxf");
    std::ofstream(file) << "0\nEOF\n";
    EXPECT_TRUE(F::fileExists(file));
    EXPECT_TRUE(F::directoryExists(file));  // a file of that name counts
    EXPECT_FALSE(F::fileExists(scratch.file("a/other.dxf")));
    EXPECT_TRUE(output.text().empty());

    // A file in the way of a folder, then a folder that may not be written.
    EXPECT_FALSE(F::ensureDirectoryExists(file + "/sub"));
    EXPECT_EQ(output.text(), "Cannot create " + file + "/sub\n");
    EXPECT_TRUE(F::deleteFile(file));
    EXPECT_FALSE(F::fileExists(file));
    EXPECT_FALSE(F::deleteFile(file));
    EXPECT_FALSE(F::deleteFile(scratch.file("a")));  // folders are not removed

    // Permissions do not stop root; /sys refuses everyone a new folder.
    output.clear();
    std::string denied = scratch.file("locked");
    ASSERT_EQ(::mkdir(denied.c_str(), 0500), 0);
    const std::string probe = denied + "/probe";
    if (::mkdir(probe.c_str(), 0777) == 0) {
        ::rmdir(probe.c_str());
        denied = "/sys";
        if (::mkdir("/sys/brinmo-probe", 0777) == 0 || (errno != EPERM && errno != EACCES))
            GTEST_SKIP() << "no folder here refuses access";
    }
    EXPECT_FALSE(F::ensureDirectoryExists(denied + "/x/y"));
    EXPECT_EQ(output.text(), "Cannot create " + denied + "/x - Access denied\n");
}

TEST(Files, TempFilesAreDeletedTogether) {
    TempFolder scratch;
    CTempFiles temp;
    for (const char* name : {"1.tmp", "2.tmp"}) {
        std::ofstream(scratch.file(name)) << "x";
        temp.add(scratch.file(name));
    }
    temp.add(scratch.file("never-written.tmp"));
    EXPECT_EQ(temp.getCount(), 3u);
    EXPECT_EQ(temp.getAt(1), scratch.file("2.tmp"));
    temp.deleteTempFiles();
    EXPECT_EQ(temp.getCount(), 0u);
    EXPECT_FALSE(fs::exists(scratch.file("1.tmp")));
    EXPECT_FALSE(fs::exists(scratch.file("2.tmp")));
}

TEST(Files, BrowseForFileCompletesTheFilter) {
    {
        cad::RecordedFileDialogs dialogs({"/srv/reports/r1.xml"});
        EXPECT_EQ(F::browseForFile("XML Graphic Reports (*.xml)|*.xml"), "/srv/reports/r1.xml");
        EXPECT_EQ(F::browseForFile("All Files (*.*)|*.*||"), "");  // no more answers: cancelled
        EXPECT_EQ(dialogs.filters(),
                  (std::vector<std::string>{"XML Graphic Reports (*.xml)|*.xml||", "All Files (*.*)|*.*||"}));
    }
    // Without a console the request is cancelled.
    EXPECT_EQ(F::browseForFile("All Files (*.*)|*.*"), "");
}
