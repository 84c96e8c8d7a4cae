#include "module/Progress.h"

#include <unistd.h>

#include <cstdio>

#include "engine/api/Editor.h"

CProgress::CProgress(std::string label, std::size_t total) : label_(std::move(label)), total_(total) {
    shown_ = total_ >= kMinimumTotal && isatty(STDERR_FILENO) != 0 && cad::isInteractiveSession();
}

CProgress::~CProgress() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void CProgress::step() {
    ++done_;
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && done_ < total_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
    lastDraw_ = now;
    draw();
}

void CProgress::draw() {
    std::fprintf(stderr, "\r%s %zu/%zu (%zu%%)", label_.c_str(), done_, total_, total_ ? done_ * 100 / total_ : 100);
    std::fflush(stderr);
    drawn_ = true;
}
