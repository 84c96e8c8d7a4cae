#pragma once
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cad {

// Why a file could not be written; what() is the reason alone, the caller names the file.
class FileWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The file a write to `path` really changes: symbolic links are followed to the file they name
// (which need not exist yet). Throws FileWriteError for a loop of links.
std::string resolveWriteTarget(const std::string& path);

// Writes a temporary file beside the target, syncs it and renames it over the target, so that a
// failed or killed save leaves the old file or the new one, never half of one. The replaced file
// keeps its mode, and its owner and group where the process may set them; a symbolic link stays a
// link and the file it names is replaced. A read-only target is refused. Temporary files left by
// earlier saves of the same target whose process is gone are removed first; a terminating signal
// removes this one. `produce` hands the content to the sink piece by piece; if it throws, the
// target is left as it was. Throws FileWriteError.
using ContentSink = std::function<void(std::string_view)>;
void replaceFileAtomically(const std::string& path, const std::function<void(const ContentSink&)>& produce);

// The temporary file's name for a target, without the random tail: short whatever the target's
// name, so that a name of the longest length the file system takes can still be saved.
std::string temporaryNamePrefix(const std::string& targetFileName, long pid);

}  // namespace cad
