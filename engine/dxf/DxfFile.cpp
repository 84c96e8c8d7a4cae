// Whole-file reads and atomic writes. Invariant: a save either replaces the target whole or leaves
// it untouched, and never leaves its temporary file behind on any path this code sees.
#include "engine/dxf/DxfFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/dxf/DxfError.h"

namespace cad {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

[[noreturn]] void failErrno(const std::string& path, const std::string& what) {
    throw DxfError(path, 0, what + ": " + std::strerror(errno));
}

}  // namespace

std::string readWholeFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) failErrno(path, "cannot open");
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) failErrno(path, "cannot read");
    if (S_ISDIR(st.st_mode)) throw DxfError(path, 0, "is a folder, not a drawing");
    // Read through a small buffer and append: growing a string by resize() would first zero
    // every byte, which costs as much as the parse.
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size) + 1);
    std::vector<char> chunk(1u << 20);
    while (true) {
        const ssize_t n = ::read(fd.get(), chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            failErrno(path, "cannot read");
        }
        if (n == 0) break;
        data.append(chunk.data(), static_cast<std::size_t>(n));
    }
    return data;
}

void writeFileAtomically(const std::string& path, std::string_view content) {
    writeFileAtomically(path, [content](const std::function<void(std::string_view)>& sink) { sink(content); });
}

void writeFileAtomically(const std::string& path,
                         const std::function<void(const std::function<void(std::string_view)>&)>& produce) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    FileDescriptor fd(::mkstemp(name.data()));
    if (fd.get() < 0) failErrno(path, "cannot create a temporary file beside it");
    const std::string tmp(name.data());
    // Until the rename, any way out removes the temporary file.
    struct TemporaryFile {
        const std::string& name;
        bool keep = false;
        ~TemporaryFile() {
            if (!keep) ::unlink(name.c_str());
        }
    } guard{tmp};
    // Keep the permissions of the file being replaced; a new file gets the usual 0666 & ~umask.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        ::fchmod(fd.get(), st.st_mode & 07777);
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
                failErrno(path, "cannot write");
            }
            done += static_cast<std::size_t>(n);
        }
    });
    if (::fsync(fd.get()) != 0) failErrno(path, "cannot flush to disk");
    if (::close(fd.release()) != 0) failErrno(path, "cannot close");
    if (::rename(tmp.c_str(), path.c_str()) != 0) failErrno(path, "cannot replace");
    guard.keep = true;
}

}  // namespace cad
