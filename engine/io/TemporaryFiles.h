#pragma once
#include <string>

// Temporary files a save is writing, removed when a signal ends the process before the save
// renames them. A signal handler can reach only static storage, so the few paths live there.
namespace cad::temporary_files {

// Installs the handlers for SIGTERM, SIGINT and SIGHUP (once; later calls do nothing). Each
// handler removes the registered files and then lets the signal end the process as before.
void removeOnTerminatingSignals();

// A registered file while in scope. Registering more files at once than there are slots only
// loses the clean-up for the extra ones.
class Registration {
public:
    explicit Registration(const std::string& path);
    ~Registration();
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

private:
    int slot_ = -1;
};

}  // namespace cad::temporary_files
