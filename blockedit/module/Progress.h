#pragma once
#include <chrono>
#include <cstddef>
#include <string>

// Shows how far a long loop has got, on the terminal's error stream, when a person is watching:
// only when that stream is a terminal and the command line is read from a terminal. Scripts and
// transcripts never see it. The line is cleared when the loop ends.
class CProgress {
public:
    CProgress(std::string label, std::size_t total);
    ~CProgress();
    CProgress(const CProgress&) = delete;
    CProgress& operator=(const CProgress&) = delete;

    // One more item done.
    void step();
    bool isShown() const { return shown_; }

    // Loops shorter than this are not worth a progress line.
    static constexpr std::size_t kMinimumTotal = 500;

private:
    void draw();

    std::string label_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool shown_ = false;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_;
};
