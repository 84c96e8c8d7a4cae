#include "engine/dialogs/FileDialog.h"

namespace cad {

namespace {

class CancellingPresenter : public FileDialogPresenter {
public:
    std::string openFile(const std::string&) override { return {}; }
};

CancellingPresenter& defaultPresenter() {
    static CancellingPresenter presenter;
    return presenter;
}

// One file dialog service per host process, as on the platform.
FileDialogPresenter* g_presenter = nullptr;

}  // namespace

void setFileDialogPresenter(FileDialogPresenter* presenter) { g_presenter = presenter; }

FileDialogPresenter& fileDialogPresenter() { return g_presenter ? *g_presenter : defaultPresenter(); }

std::string openFileDialog(const std::string& filter) { return fileDialogPresenter().openFile(filter); }

RecordedFileDialogs::RecordedFileDialogs(std::vector<std::string> answers)
    : answers_(answers.begin(), answers.end()), previous_(g_presenter) {
    g_presenter = this;
}

RecordedFileDialogs::~RecordedFileDialogs() { g_presenter = previous_; }

std::string RecordedFileDialogs::openFile(const std::string& filter) {
    filters_.push_back(filter);
    if (answers_.empty()) return {};
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

}  // namespace cad
