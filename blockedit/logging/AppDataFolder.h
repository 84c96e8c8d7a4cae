#pragma once
#include <filesystem>

// The machine's application data folder, where the module keeps its settings files.
//
// The base folder is $BRINMO_APPDATA when that is set and not empty, else $XDG_DATA_HOME when
// set and not empty, else ~/.local/share. Nothing here creates folders.
namespace appdata {

// The base application data folder.
std::filesystem::path baseFolder();

// The product's own folder below the base: <base>/brinmo.
std::filesystem::path brinmoFolder();

}  // namespace appdata
