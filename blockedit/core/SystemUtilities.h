#pragma once

// Keeps the host responsive during long waits.
class CSystemUtilities {
public:
    // Lets the host process what is waiting for it.
    static void doEvents();
    // Waits `seconds`, in quarter seconds, letting the host work in between.
    static void wait(int seconds);
};
