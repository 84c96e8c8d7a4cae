#include "ConsoleOptions.h"

namespace brinmo {

const char* consoleUsage() {
    return "usage: brinmo [DRAWING.dxf] [options]\n"
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
           "  --version           print the version\n"
           "Without --script, -c or -, lines are read from the terminal.\n";
}

std::optional<ConsoleOptions> parseConsoleOptions(const std::vector<std::string>& args, std::string& error) {
    ConsoleOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
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
    if (options.module && options.noModule) {
        error = "--module and --no-module exclude each other";
        return std::nullopt;
    }
    return options;
}

}  // namespace brinmo
