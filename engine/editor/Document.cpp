#include "engine/editor/Document.h"

namespace cad {

Document::Document(std::unique_ptr<Database> database, std::string fileName, std::string title)
    : database_(std::move(database)), fileName_(std::move(fileName)), title_(std::move(title)) {
    markSaved();
}

void Document::setFile(std::string fileName, std::string title) {
    fileName_ = std::move(fileName);
    title_ = std::move(title);
}

}  // namespace cad
