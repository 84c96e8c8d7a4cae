#include "engine/dialogs/PlotProgressDialog.h"

#include <unistd.h>

#include <algorithm>

#include "engine/editor/EditorApi.h"

namespace cad {

PlotProgressDialog::PlotProgressDialog()
    : stream_(isatty(STDERR_FILENO) != 0 && isInteractiveSession() ? stderr : nullptr) {}

PlotProgressDialog::PlotProgressDialog(std::FILE* stream) : stream_(stream) {}

PlotProgressDialog::~PlotProgressDialog() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stream_);
    std::fflush(stream_);
}

void PlotProgressDialog::setText(Text which, std::string text) {
    texts_[static_cast<std::size_t>(which)] = std::move(text);
    if (drawn_) draw();
}

void PlotProgressDialog::setProgressRange(int low, int high) {
    if (high <= low) {
        low = 0;
        high = 100;
    }
    low_ = low;
    high_ = high;
    job_ = std::clamp(job_, low_, high_);
    sheet_ = std::clamp(sheet_, low_, high_);
}

void PlotProgressDialog::setJobProgress(int position) {
    job_ = std::clamp(position, low_, high_);
    draw();
}

void PlotProgressDialog::setSheetProgress(int position) {
    sheet_ = std::clamp(position, low_, high_);
    draw();
}

int PlotProgressDialog::percent(int position) const {
    return static_cast<int>((static_cast<long long>(position) - low_) * 100 / (static_cast<long long>(high_) - low_));
}

std::string PlotProgressDialog::line() const {
    return text(Text::DialogCaption) + ": " + text(Text::JobProgressCaption) + " " + std::to_string(percent(job_)) +
           "%, " + text(Text::SheetProgressCaption) + " " + std::to_string(percent(sheet_)) + "%";
}

void PlotProgressDialog::draw() {
    if (stream_ == nullptr) return;
    std::fprintf(stream_, "\r\033[K%s", line().c_str());
    std::fflush(stream_);
    drawn_ = true;
}

}  // namespace cad
