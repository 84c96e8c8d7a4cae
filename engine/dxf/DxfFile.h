#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "engine/io/SourceText.h"

namespace cad {

// The text of a drawing file; large files are mapped rather than copied. Throws DxfError.
std::shared_ptr<const SourceText> openDrawingText(const std::string& path);

// The atomic write of engine/io/AtomicFile.h, with its failures as DxfError naming the file.
void writeFileAtomically(const std::string& path, std::string_view content);
// The same with content made piece by piece: `produce` calls the sink it is given with each
// piece in order. If `produce` throws, the target is left as it was.
void writeFileAtomically(const std::string& path,
                         const std::function<void(const std::function<void(std::string_view)>&)>& produce);

}  // namespace cad
