#pragma once
#include <deque>
#include <string>
#include <vector>

namespace cad {

// Shows the open-file dialog. The console installs a presenter that asks for the file name on the
// command line; without one every request is cancelled.
class FileDialogPresenter {
public:
    virtual ~FileDialogPresenter() = default;
    // `filter` pairs descriptions and patterns separated by '|' ("XML (*.xml)|*.xml||").
    // Returns the chosen full path, or "" when the user cancels.
    virtual std::string openFile(const std::string& filter) = 0;
};

// The caller keeps ownership; nullptr restores the default presenter.
void setFileDialogPresenter(FileDialogPresenter* presenter);
FileDialogPresenter& fileDialogPresenter();

std::string openFileDialog(const std::string& filter);

// Records every request while in scope and answers them from a list, then cancels (tests).
class RecordedFileDialogs : public FileDialogPresenter {
public:
    explicit RecordedFileDialogs(std::vector<std::string> answers = {});
    ~RecordedFileDialogs() override;
    RecordedFileDialogs(const RecordedFileDialogs&) = delete;
    RecordedFileDialogs& operator=(const RecordedFileDialogs&) = delete;

    std::string openFile(const std::string& filter) override;
    const std::vector<std::string>& filters() const { return filters_; }

private:
    std::deque<std::string> answers_;
    std::vector<std::string> filters_;
    FileDialogPresenter* previous_;
};

}  // namespace cad
