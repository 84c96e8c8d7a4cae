#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/editor/HostProfile.h"

namespace brinmo {

// One source of input lines, in the order given on the command line.
struct InputSource {
    enum class Kind { ScriptFile, Line, Stdin } kind;
    std::string value;
};

struct ConsoleOptions {
    std::optional<std::string> drawing;
    std::vector<InputSource> inputs;
    std::optional<std::string> saveAs;  // -o
    cad::HostProfile profile = cad::HostProfile::AutoCAD;
    std::optional<std::string> module;  // --module
    std::optional<std::string> moduleSettings;  // --module-settings
    bool noModule = false;
    // --render: a picture of the drawing, after the input (if any) has run.
    std::optional<std::string> renderTo;
    std::string renderLayout;  // --layout
    int renderWidth = 1600;    // --width
    std::optional<std::array<double, 4>> renderWindow;  // --window x1,y1,x2,y2
    bool version = false;
    bool help = false;
};

// Parses the arguments; on a mistake returns nothing and sets error to a message naming the argument.
std::optional<ConsoleOptions> parseConsoleOptions(const std::vector<std::string>& args, std::string& error);

const char* consoleUsage();

}  // namespace brinmo
