#include "core/SystemUtilities.h"

#include <chrono>
#include <thread>

#include "core/KorvaWrap.h"

namespace {
constexpr const char* kFile = __FILE__;
}

void CSystemUtilities::doEvents() {
    // The host runs the module's commands on its one thread and has no window message queue to
    // pump, so there is nothing waiting here.
    korvaWrap(kFile, "CSystemUtilities::doEvents", [] {});
}

void CSystemUtilities::wait(int seconds) {
    korvaWrap(kFile, "CSystemUtilities::wait", [&] {
        for (int i = 0; i < 4 * seconds; ++i) {
            doEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
    });
}
