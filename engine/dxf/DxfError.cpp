#include "engine/dxf/DxfError.h"

namespace cad {

namespace {
std::string compose(const std::string& fileName, std::size_t line, const std::string& what) {
    std::string text = fileName.empty() ? std::string("<memory>") : fileName;
    if (line > 0) text += ", line " + std::to_string(line);
    return text + ": " + what;
}
}  // namespace

DxfError::DxfError(const std::string& fileName, std::size_t line, const std::string& what)
    : std::runtime_error(compose(fileName, line, what)), fileName_(fileName), line_(line) {}

}  // namespace cad
