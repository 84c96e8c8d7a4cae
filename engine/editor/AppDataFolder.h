#pragma once
#include <filesystem>

// Where the host and its modules keep per-user files (command history, settings, preferences):
// $BRINMO_APPDATA when set and not empty, else $XDG_DATA_HOME when set and not empty, else
// ~/.local/share, with HOME taken from the password database when the environment has none.
// Nothing here creates folders.
namespace cad {

std::filesystem::path appDataBaseFolder();

// <base>/brinmo
std::filesystem::path appDataFolder();

}  // namespace cad
