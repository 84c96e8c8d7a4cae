#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "engine/io/AtomicFile.h"
#include "tests/engine/dxf/DxfTestSupport.h"

using namespace cad;
namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const std::string& text) {
    replaceFileAtomically(file.string(), [&](const ContentSink& sink) { sink(text); });
}

std::size_t entries(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

TEST(AtomicFile, ReplacedFileKeepsItsModeAndALinkStaysALink) {
    dxftest::TempDir dir;
    const fs::path drawing = dir.path() / "plan.dxf";
    std::ofstream(drawing) << "old";
    ::chmod(drawing.c_str(), 0600);
    write(drawing, "new");
    EXPECT_EQ(dxftest::slurp(drawing), "new");
    EXPECT_EQ(modeOf(drawing), 0600u);

    // Saving through a link changes the file it names, in another folder too.
    fs::create_directories(dir.path() / "real");
    const fs::path real = dir.path() / "real" / "plan.dxf";
    std::ofstream(real) << "old";
    fs::create_symlink("real/plan.dxf", dir.path() / "link.dxf");
    fs::create_symlink(dir.path() / "link.dxf", dir.path() / "chain.dxf");
    write(dir.path() / "chain.dxf", "through");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.dxf"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "chain.dxf"));
    EXPECT_EQ(dxftest::slurp(real), "through");
    EXPECT_EQ(entries(dir.path() / "real"), 1u);  // no temporary left beside the target

    fs::create_symlink("loop2.dxf", dir.path() / "loop1.dxf");
    fs::create_symlink("loop1.dxf", dir.path() / "loop2.dxf");
    EXPECT_THROW(write(dir.path() / "loop1.dxf", "x"), FileWriteError);
}

TEST(AtomicFile, ReadOnlyFilesAndFoldersAreRefusedAndKept) {
    dxftest::TempDir dir;
    const fs::path drawing = dir.path() / "issued.dxf";
    std::ofstream(drawing) << "issued";
    ::chmod(drawing.c_str(), 0444);
    try {
        write(drawing, "changed");
        FAIL() << "a read-only drawing was overwritten";
    } catch (const FileWriteError& e) {
        EXPECT_STREQ(e.what(), "the file is read-only");
    }
    EXPECT_EQ(dxftest::slurp(drawing), "issued");
    EXPECT_EQ(modeOf(drawing), 0444u);

    // A producer that fails leaves the old file and no temporary.
    ::chmod(drawing.c_str(), 0644);
    EXPECT_THROW(replaceFileAtomically(drawing.string(),
                                       [](const ContentSink& sink) {
                                           sink("half");
                                           throw FileWriteError("disk full");
                                       }),
                 FileWriteError);
    EXPECT_EQ(dxftest::slurp(drawing), "issued");
    EXPECT_EQ(entries(dir.path()), 1u);
}

TEST(AtomicFile, LongestNamesSaveAndStaleTemporariesOfDeadProcessesGo) {
    dxftest::TempDir dir;
    const fs::path longName = dir.path() / (std::string(249, 'n') + ".dxf");
    write(longName, "long");
    EXPECT_EQ(dxftest::slurp(longName), "long");
    EXPECT_LE(temporaryNamePrefix(longName.filename().string(), 4194304).size() + 6, 40u);

    // A process that surely ran and is gone: a child that has been reaped.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    const fs::path target = dir.path() / "plan.dxf";
    const fs::path stale = dir.path() / (temporaryNamePrefix("plan.dxf", child) + "abcdef");
    const fs::path live = dir.path() / (temporaryNamePrefix("plan.dxf", ::getppid()) + "abcdef");
    const fs::path otherTarget = dir.path() / (temporaryNamePrefix("other.dxf", child) + "abcdef");
    for (const fs::path& p : {stale, live, otherTarget}) std::ofstream(p) << "left over";
    write(target, "saved");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));         // its writer may still be saving
    EXPECT_TRUE(fs::exists(otherTarget));  // another drawing's business
}

// A save killed part-way by a signal the process can catch leaves the old file and no temporary.
TEST(AtomicFile, TerminatingSignalsRemoveTheTemporaryFile) {
    dxftest::TempDir dir;
    const fs::path target = dir.path() / "plan.dxf";
    std::ofstream(target) << "old";
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            replaceFileAtomically(target.string(), [&](const ContentSink& sink) {
                sink(std::string(1 << 20, 'x'));
                [[maybe_unused]] auto n = ::write(ready[1], "r", 1);
                ::pause();
            });
            ::_exit(0);
        }
        ::close(ready[1]);
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        EXPECT_EQ(entries(dir.path()), 2u);  // the temporary is there while the save runs
        ::kill(child, signal);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(dxftest::slurp(target), "old");
        EXPECT_EQ(entries(dir.path()), 1u);
    }
}

TEST(AtomicFile, OwnerAndGroupOfTheReplacedFileStay) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to make a file owned by someone else";
    dxftest::TempDir dir;
    const fs::path drawing = dir.path() / "shared.dxf";
    std::ofstream(drawing) << "old";
    ASSERT_EQ(::chown(drawing.c_str(), 65534, 65534), 0);
    write(drawing, "new");
    struct stat st {};
    ::stat(drawing.c_str(), &st);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}
