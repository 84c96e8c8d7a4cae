#pragma once
#include <array>
#include <cstdio>
#include <string>

namespace cad {

// The plot progress dialog of the host. A terminal has no windows: while a person watches (the
// command line read from a terminal, the error stream a terminal) the dialog is one line there,
// its caption with the job's and the sheet's progress, cleared when the dialog goes; scripts and
// transcripts never see it. The cancel buttons' texts are kept as the dialog's, though a line
// has no buttons to put them on.
class PlotProgressDialog {
public:
    enum class Text { DialogCaption, CancelJobButton, CancelSheetButton, JobProgressCaption, SheetProgressCaption };

    PlotProgressDialog();
    // Shows the line on `stream` whoever is watching (tests).
    explicit PlotProgressDialog(std::FILE* stream);
    ~PlotProgressDialog();
    PlotProgressDialog(const PlotProgressDialog&) = delete;
    PlotProgressDialog& operator=(const PlotProgressDialog&) = delete;

    void setText(Text which, std::string text);
    const std::string& text(Text which) const { return texts_[static_cast<std::size_t>(which)]; }
    // Positions are taken within the range; an empty or reversed range counts as 0 to 100.
    void setProgressRange(int low, int high);
    void setJobProgress(int position);
    void setSheetProgress(int position);
    // What the line says now: "CAPTION: JOB CAPTION n%, SHEET CAPTION n%".
    std::string line() const;

private:
    int percent(int position) const;
    void draw();

    std::FILE* stream_ = nullptr;  // null: not shown
    std::array<std::string, 5> texts_;
    int low_ = 0, high_ = 100;
    int job_ = 0, sheet_ = 0;
    bool drawn_ = false;
};

}  // namespace cad
