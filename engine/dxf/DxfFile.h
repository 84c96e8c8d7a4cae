#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace cad {

// The whole file in one read. Throws DxfError when it cannot be opened or read.
std::string readWholeFile(const std::string& path);

// Writes a temporary file beside the target, flushes and syncs it, then renames it over the
// target, so that a failed save never leaves a half-written drawing. Throws DxfError.
void writeFileAtomically(const std::string& path, std::string_view content);
// The same with content made piece by piece: `produce` calls the sink it is given with each
// piece in order. If `produce` throws, the target is left as it was.
void writeFileAtomically(const std::string& path,
                         const std::function<void(const std::function<void(std::string_view)>&)>& produce);

}  // namespace cad
