#include "module/CsvOpener.h"

#include <spawn.h>
#include <sys/types.h>

#include <filesystem>
#include <vector>

#include "core/KorvaWrap.h"

extern char** environ;

namespace {

constexpr const char* kFile = __FILE__;

}  // namespace

std::string CCsvOpener::hostProgramFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

void CCsvOpener::start(const std::string& opener, const std::string& csvPath) {
    korvaWrap(kFile, "CCsvOpener::start", [&] {
        // The arguments go to the program as they are: no shell reads them, so neither the quotes
        // a command line would need nor any blanks in the paths matter.
        std::string program = opener;
        std::string file = csvPath;
        std::vector<char*> argv = {program.data(), file.data(), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string folder = hostProgramFolder();
        if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
        pid_t child = 0;
        // A program name without a folder is looked up on the PATH.
        posix_spawnp(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
    });
}
