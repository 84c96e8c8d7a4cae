#include "ConsoleOptions.h"

#include <array>
#include <cmath>
#include <cstdlib>

namespace brinmo {

const char* consoleUsage() {
    return "usage: brinmo [DRAWING.dxf] [options]\n"
           "       brinmo render DRAWING.dxf OUT [--layout NAME] [--width PX] [--window X1,Y1,X2,Y2]\n"
           "                      the same as brinmo DRAWING.dxf --no-module --render OUT ...\n"
           "  --script FILE       run the lines of FILE as if typed\n"
           "  -c LINE             run one line (repeatable; in order with --script and -)\n"
           "  -                   read lines from standard input\n"
           "  -o FILE             save the active drawing to FILE when the input has ended\n"
           "  --profile NAME      autocad (default), autocad-lt, bricscad or generic\n"
           "  --module PATH       load this module instead of the one beside brinmo\n"
           "  --no-module         load no module\n"
           "  --module-settings FILE\n"
           "                      the module's document monitor settings file (sets\n"
           "                      BRINMO_MODULE_SETTINGS for the module)\n"
           "  --render OUT        write a picture of the drawing to OUT (.png, .svg, .pdf or .jpg)\n"
           "                      after the input has run; without input, only render\n"
           "  --layout NAME       the layout to render (default Model)\n"
           "  --width PX          picture width in pixels, or points for .svg and .pdf (default 1600)\n"
           "  --window X1,Y1,X2,Y2\n"
           "                      render only this box of the layout, in drawing units\n"
           "  --version           print the version\n"
           "Without --script, -c or -, lines are read from the terminal.\n";
}

std::optional<ConsoleOptions> parseConsoleOptions(const std::vector<std::string>& args, std::string& error) {
    ConsoleOptions options;
    std::size_t first = 0;
    const char* renderingOption = nullptr;  // one that means nothing without a picture to make
    // "render DRAWING OUT": a quick look at a drawing, said the way a person says it. A look
    // needs no module (nor its preferences dialog on a first run) unless one is named.
    const bool lookOnly = !args.empty() && args[0] == "render";
    if (lookOnly) {
        if (args.size() < 3 || args[1].starts_with("-") || args[2].starts_with("-")) {
            error = "render needs a drawing and a picture file: brinmo render DRAWING.dxf OUT.png";
            return std::nullopt;
        }
        options.drawing = args[1];
        options.renderTo = args[2];
        first = 3;
    }
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = "option " + a + " needs " + what;
                return std::nullopt;
            }
            return args[++i];
        };
        if (a == "--script") {
            auto v = value("a script file");
            if (!v) return std::nullopt;
            options.inputs.push_back({InputSource::Kind::ScriptFile, *v});
        } else if (a == "-c") {
            auto v = value("a command line");
            if (!v) return std::nullopt;
            options.inputs.push_back({InputSource::Kind::Line, *v});
        } else if (a == "-") {
            options.inputs.push_back({InputSource::Kind::Stdin, ""});
        } else if (a == "-o") {
            auto v = value("a file name");
            if (!v) return std::nullopt;
            if (v->empty()) {
                error = "option -o needs a file name, not an empty one";
                return std::nullopt;
            }
            options.saveAs = *v;
        } else if (a == "--profile") {
            auto v = value("a profile name");
            if (!v) return std::nullopt;
            auto profile = cad::parseHostProfile(*v);
            if (!profile) {
                error = "unknown profile \"" + *v + "\" (autocad, autocad-lt, bricscad, generic)";
                return std::nullopt;
            }
            options.profile = *profile;
        } else if (a == "--module") {
            auto v = value("a module file");
            if (!v) return std::nullopt;
            options.module = *v;
        } else if (a == "--module-settings") {
            auto v = value("a settings file");
            if (!v) return std::nullopt;
            options.moduleSettings = *v;
        } else if (a == "--render") {
            auto v = value("a picture file");
            if (!v) return std::nullopt;
            options.renderTo = *v;
        } else if (a == "--layout") {
            auto v = value("a layout name");
            if (!v) return std::nullopt;
            options.renderLayout = *v;
            renderingOption = "--layout";
        } else if (a == "--width") {
            auto v = value("a width in pixels");
            if (!v) return std::nullopt;
            char* end = nullptr;
            const long w = std::strtol(v->c_str(), &end, 10);
            if (v->empty() || *end != '\0' || w < 16 || w > 20000) {
                error = "--width \"" + *v + "\" is not a whole number from 16 to 20000";
                return std::nullopt;
            }
            options.renderWidth = static_cast<int>(w);
            renderingOption = "--width";
        } else if (a == "--window") {
            auto v = value("x1,y1,x2,y2");
            if (!v) return std::nullopt;
            std::array<double, 4> box{};
            const char* p = v->c_str();
            bool good = true;
            for (int k = 0; k < 4 && good; ++k) {
                char* end = nullptr;
                box[static_cast<std::size_t>(k)] = std::strtod(p, &end);
                good = end != p && (k == 3 ? *end == '\0' : *end == ',') &&
                       std::isfinite(box[static_cast<std::size_t>(k)]);
                p = end + (k == 3 ? 0 : 1);
            }
            // Sides must be measurable too: corners at opposite ends of the number range are not.
            if (!good || box[0] == box[2] || box[1] == box[3] || !std::isfinite(box[2] - box[0]) ||
                !std::isfinite(box[3] - box[1])) {
                error = "--window \"" + *v + "\" is not four numbers x1,y1,x2,y2 of a box with an area";
                return std::nullopt;
            }
            options.renderWindow = box;
            renderingOption = "--window";
        } else if (a == "--no-module") {
            options.noModule = true;
        } else if (a == "--version") {
            options.version = true;
        } else if (a == "--help" || a == "-h") {
            options.help = true;
        } else if (!a.empty() && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else if (options.drawing) {
            error = "only one drawing may be given (\"" + *options.drawing + "\" and \"" + a + "\")";
            return std::nullopt;
        } else {
            options.drawing = a;
        }
    }
    if (options.renderTo && !options.drawing) {
        error = "--render needs a drawing";
        return std::nullopt;
    }
    if (!options.renderTo && renderingOption) {
        error = std::string(renderingOption) + " only says how to render: it needs --render OUT";
        return std::nullopt;
    }
    if (lookOnly && !options.module) options.noModule = true;
    if (options.module && options.noModule) {
        error = "--module and --no-module exclude each other";
        return std::nullopt;
    }
    return options;
}

}  // namespace brinmo
