// The plot progress dialog as a terminal line: what it says, where positions land, and that it
// leaves the terminal as it found it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/dialogs/PlotProgressDialog.h"

using cad::PlotProgressDialog;
using Text = PlotProgressDialog::Text;

namespace {

// A stream into memory, read back once closed.
class MemoryStream {
public:
    MemoryStream() : stream_(open_memstream(&data_, &size_)) {}
    ~MemoryStream() {
        if (stream_) std::fclose(stream_);
        std::free(data_);
    }
    MemoryStream(const MemoryStream&) = delete;
    MemoryStream& operator=(const MemoryStream&) = delete;
    std::FILE* get() const { return stream_; }
    std::string text() {
        std::fflush(stream_);
        return std::string(data_, size_);
    }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};

void caption(PlotProgressDialog& d) {
    d.setText(Text::DialogCaption, "Plot");
    d.setText(Text::JobProgressCaption, "Job");
    d.setText(Text::SheetProgressCaption, "Sheet");
}

}  // namespace

TEST(PlotProgressDialog, ShowsPercentagesOfItsRangeAndClearsItsLine) {
    MemoryStream out;
    {
        PlotProgressDialog d(out.get());
        caption(d);
        EXPECT_EQ(out.text(), "") << "nothing shows before progress does";
        d.setProgressRange(200, 400);
        d.setSheetProgress(300);
        EXPECT_EQ(d.line(), "Plot: Job 0%, Sheet 50%");
        d.setJobProgress(1000);  // past the end: the end
        d.setSheetProgress(-5);  // before the start: the start
        EXPECT_EQ(d.line(), "Plot: Job 100%, Sheet 0%");
        // A range with nothing in it would divide by zero: it counts as 0 to 100.
        d.setProgressRange(7, 7);
        d.setSheetProgress(25);
        EXPECT_EQ(d.line(), "Plot: Job 100%, Sheet 25%");
    }
    const std::string shown = out.text();
    EXPECT_NE(shown.find("\r\033[KPlot: Job 0%, Sheet 50%"), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\033[K") << "the line is cleared when the dialog goes";
}
