#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "engine/api/Dialogs.h"

// The module's modeless windows outlive the command that opened them: they are kept here until
// they close, and closed when the module is unloaded.
class CModelessWindows {
public:
    static CModelessWindows& module();

    // Keeps the window; windows closed since the last call are released first.
    template <class T>
    T& adopt(std::unique_ptr<T> window) {
        sweep();
        T& kept = *window;
        windows_.push_back(std::move(window));
        return kept;
    }
    // An open window of that type, or nullptr.
    template <class T>
    T* findOpen() const {
        for (const auto& w : windows_)
            if (auto* t = dynamic_cast<T*>(w.get()); t != nullptr && t->isOpen()) return t;
        return nullptr;
    }
    // Releases the windows that have closed.
    void sweep();
    void closeAll();

private:
    std::vector<std::unique_ptr<cad::Dialog>> windows_;
};
