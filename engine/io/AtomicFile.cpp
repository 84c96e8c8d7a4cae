#include "engine/io/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "engine/io/FileDescriptor.h"
#include "engine/io/TemporaryFiles.h"

namespace cad {

namespace fs = std::filesystem;

namespace {

// Links may chain; the kernel gives up at 40 as well.
constexpr int kMaxLinks = 40;

[[noreturn]] void fail(const std::string& what) { throw FileWriteError(what + ": " + std::strerror(errno)); }

std::uint32_t fnv1a(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    return hash;
}

bool processIsGone(long pid) { return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH; }

// Temporary files of this target whose writer no longer runs: a save killed with SIGKILL, or a
// machine that went down, leaves them behind.
void removeStaleTemporaries(const fs::path& folder, const std::string& targetName) {
    const std::string prefix = temporaryNamePrefix(targetName, 0);
    const std::string hashPart = prefix.substr(0, prefix.find('-') + 1);
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name.rfind(hashPart, 0) != 0) continue;
        long pid = 0;
        char tail[8] = {};
        if (std::sscanf(entry->d_name + hashPart.size(), "%ld.brinmo~%6s", &pid, tail) != 2) continue;
        if (pid != static_cast<long>(::getpid()) && processIsGone(pid)) ::unlink((folder / entry->d_name).c_str());
    }
}

}  // namespace

std::string temporaryNamePrefix(const std::string& targetFileName, long pid) {
    char prefix[48];
    std::snprintf(prefix, sizeof prefix, ".%08x-%ld.brinmo~", fnv1a(targetFileName), pid);
    return prefix;
}

std::string resolveWriteTarget(const std::string& path) {
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (n < 0) fail("cannot read the symbolic link");
        const fs::path link(std::string(buffer.data(), static_cast<std::size_t>(n)));
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    errno = ELOOP;
    fail("cannot follow its symbolic links");
}

void replaceFileAtomically(const std::string& path, const std::function<void(const ContentSink&)>& produce) {
    const fs::path target = resolveWriteTarget(path);
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing) {
        if (S_ISDIR(existing.st_mode)) throw FileWriteError("it is a folder");
        // Root may write anything; a file marked read-only is still refused, as an editor would.
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)
            throw FileWriteError("the file is read-only");
    }
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    const std::string targetName = target.filename().string();
    removeStaleTemporaries(folder, targetName);

    temporary_files::removeOnTerminatingSignals();
    std::string name = (folder / (temporaryNamePrefix(targetName, ::getpid()) + "XXXXXX")).string();
    FileDescriptor fd(::mkstemp(name.data()));
    if (fd.get() < 0) fail("cannot create a temporary file beside it");
    temporary_files::Registration registration(name);
    // Until the rename, any way out removes the temporary file.
    struct TemporaryFile {
        const std::string& name;
        bool keep = false;
        ~TemporaryFile() {
            if (!keep) ::unlink(name.c_str());
        }
    } guard{name};

    if (replacing) {
        // Owner first: changing it may clear the set-id bits that the mode then puts back.
        if (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) {
            // Without the right to give the file away, the group alone may still be ours to set.
            if (::fchown(fd.get(), existing.st_uid, existing.st_gid) != 0 &&
                ::fchown(fd.get(), static_cast<uid_t>(-1), existing.st_gid) != 0) {
            }
        }
        ::fchmod(fd.get(), existing.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd.get(), 0666 & ~mask);
    }
    produce([&](std::string_view piece) {
        std::size_t done = 0;
        while (done < piece.size()) {
            const ssize_t n = ::write(fd.get(), piece.data() + done, piece.size() - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                fail("cannot write");
            }
            done += static_cast<std::size_t>(n);
        }
    });
    if (::fsync(fd.get()) != 0) fail("cannot flush to disk");
    if (::close(fd.release()) != 0) fail("cannot close");
    if (::rename(name.c_str(), target.c_str()) != 0) fail("cannot replace");
    guard.keep = true;
}

}  // namespace cad
