#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace cad {

// The whole file in one read. Throws DxfError when it cannot be opened or read.
std::string readWholeFile(const std::string& path);

// The atomic write of engine/io/AtomicFile.h, with its failures as DxfError naming the file.
void writeFileAtomically(const std::string& path, std::string_view content);
// The same with content made piece by piece: `produce` calls the sink it is given with each
// piece in order. If `produce` throws, the target is left as it was.
void writeFileAtomically(const std::string& path,
                         const std::function<void(const std::function<void(std::string_view)>&)>& produce);

}  // namespace cad
