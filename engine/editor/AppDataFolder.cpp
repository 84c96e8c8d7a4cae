#include "engine/editor/AppDataFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace cad {

namespace {

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::filesystem::path homeFolder() {
    std::string home = environmentText("HOME");
    if (!home.empty()) return home;
    // A service account may run without HOME; the password database still knows the folder.
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir) return entry->pw_dir;
    return std::filesystem::current_path();
}

}  // namespace

std::filesystem::path appDataBaseFolder() {
    if (std::string own = environmentText("BRINMO_APPDATA"); !own.empty()) return own;
    if (std::string xdg = environmentText("XDG_DATA_HOME"); !xdg.empty()) return xdg;
    return homeFolder() / ".local" / "share";
}

std::filesystem::path appDataFolder() { return appDataBaseFolder() / "brinmo"; }

}  // namespace cad
