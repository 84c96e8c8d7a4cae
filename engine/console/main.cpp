#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

int main(int argc, char** argv) {
    CLI::App app{"brinmo: a space-planning CAD host for floor-plan drawings"};
    bool showVersion = false;
    app.add_flag("--version", showVersion, "Print the version and exit");
    CLI11_PARSE(app, argc, argv);
    if (showVersion || argc == 1) {
        std::printf("brinmo %s\n", BRINMO_VERSION);
        if (!showVersion) std::printf("%s", app.help().c_str());
    }
    return 0;
}
