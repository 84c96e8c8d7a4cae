// Whole-file reads and atomic writes. Invariant: a save either replaces the target whole or leaves
// it untouched, and never leaves its temporary file behind on any path this code sees.
#include "engine/dxf/DxfFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "engine/dxf/DxfError.h"
#include "engine/io/AtomicFile.h"
#include "engine/io/FileDescriptor.h"

namespace cad {

namespace {

[[noreturn]] void failErrno(const std::string& path, const std::string& what) {
    throw DxfError(path, 0, what + ": " + std::strerror(errno));
}

}  // namespace

std::shared_ptr<const SourceText> openDrawingText(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) failErrno(path, "cannot open");
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) failErrno(path, "cannot read");
    if (S_ISDIR(st.st_mode)) throw DxfError(path, 0, "is a folder, not a drawing");
    try {
        return SourceText::fromFile(fd.get());
    } catch (const std::system_error& e) {
        errno = e.code().value();
        failErrno(path, "cannot read");
    }
}

void writeFileAtomically(const std::string& path, std::string_view content) {
    writeFileAtomically(path, [content](const std::function<void(std::string_view)>& sink) { sink(content); });
}

void writeFileAtomically(const std::string& path,
                         const std::function<void(const std::function<void(std::string_view)>&)>& produce) {
    try {
        replaceFileAtomically(path, produce);
    } catch (const FileWriteError& e) {
        throw DxfError(path, 0, e.what());
    }
}

}  // namespace cad
