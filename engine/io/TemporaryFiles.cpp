#include "engine/io/TemporaryFiles.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <iterator>

namespace cad::temporary_files {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kSlots = 8;
constexpr std::size_t kPathCapacity = 4096;

struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> ready{false};
    char path[kPathCapacity]{};
};

struct State {
    Slot slots[kSlots];
    struct sigaction previous[std::size(kSignals)]{};
    std::atomic<bool> installed{false};
};
State g_state;

extern "C" void removeAndResignal(int signal) {
    for (Slot& slot : g_state.slots)
        if (slot.ready.load()) ::unlink(slot.path);
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (kSignals[i] == signal) ::sigaction(signal, &g_state.previous[i], nullptr);
    // Delivered once this handler returns, with the disposition the process had before.
    ::raise(signal);
}

}  // namespace

void removeOnTerminatingSignals() {
    if (g_state.installed.exchange(true)) return;
    struct sigaction action {};
    action.sa_handler = removeAndResignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &g_state.previous[i]);
}

Registration::Registration(const std::string& path) {
    if (path.size() >= kPathCapacity) return;
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = g_state.slots[i];
        bool expected = false;
        if (!slot.used.compare_exchange_strong(expected, true)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.ready.store(true);
        slot_ = i;
        return;
    }
}

Registration::~Registration() {
    if (slot_ < 0) return;
    Slot& slot = g_state.slots[slot_];
    slot.ready.store(false);
    slot.used.store(false);
}

}  // namespace cad::temporary_files
