#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "ConsoleOptions.h"
#include "engine/editor/MemorySetup.h"
#include "engine/dialogs/ConsoleDialogs.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/LineInput.h"
#include "engine/editor/TerminalInput.h"
#include "engine/render/DrawingRenderer.h"
#include "engine/render/FontLibrary.h"

namespace {

constexpr const char* kModuleFile = "61R4I505blockEdit.arx";

std::filesystem::path executableFolder() {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path(".") : self.parent_path();
}

bool readFile(const std::string& path, std::string& text) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return true;
}

int runConsole(const brinmo::ConsoleOptions& options) {
    // Input: the sources in the order given; with none, the terminal (or a pipe, read as a script).
    cad::ScriptInput script;
    bool interactive = options.inputs.empty() && isatty(STDIN_FILENO);
    for (const auto& source : options.inputs) {
        switch (source.kind) {
            case brinmo::InputSource::Kind::ScriptFile: {
                std::string text;
                if (!readFile(source.value, text)) {
                    std::error_code ec;
                    std::fprintf(stderr, "brinmo: cannot read script \"%s\"%s\n", source.value.c_str(),
                                 std::filesystem::is_directory(source.value, ec) ? ": it is a folder" : "");
                    return 2;
                }
                script.addText(text);
                break;
            }
            case brinmo::InputSource::Kind::Line: script.addLine(source.value); break;
            case brinmo::InputSource::Kind::Stdin: {
                std::ostringstream s;
                s << std::cin.rdbuf();
                script.addText(s.str());
                break;
            }
        }
    }
    if (options.inputs.empty() && !interactive) {
        std::ostringstream s;
        s << std::cin.rdbuf();
        script.addText(s.str());
    }
    // A terminal that takes control sequences gets line editing and a history; others plain lines.
    std::unique_ptr<cad::LineInput> terminal;
    if (interactive && cad::TerminalInput::canEdit(STDIN_FILENO))
        terminal = std::make_unique<cad::TerminalInput>(STDIN_FILENO, cad::LineHistory::defaultFile());
    else if (interactive)
        terminal = std::make_unique<cad::StreamInput>(std::cin);
    cad::LineInput& input = terminal ? *terminal : static_cast<cad::LineInput&>(script);

    cad::HostApplication host(options.profile, input);
    cad::ConsoleDialogs dialogs(host.editor());
    host.setCommandLineHook([&dialogs](std::string_view line) { return dialogs.handleCommandLine(line); });

    // The host passes the file on without reading it: what the settings mean is the module's business.
    if (options.moduleSettings)
        setenv("BRINMO_MODULE_SETTINGS", std::filesystem::absolute(*options.moduleSettings).c_str(), 1);
    if (!options.noModule) {
        std::string module = options.module.value_or((executableFolder() / kModuleFile).string());
        bool explicitModule = options.module.has_value();
        if (explicitModule || std::filesystem::exists(module)) {
            auto result = host.dynamicLinker().loadModule(module);
            if (!result.ok) {
                std::fprintf(stderr, "brinmo: %s\n", result.message.c_str());
                return 1;
            }
        }
    }
    cad::DocumentManager& documents = host.documentManager();
    // Fonts take a while to look up: done on the side while a drawing to render is read, and
    // finished before anything else can want them.
    std::jthread fontLookup;
    if (options.renderTo && options.drawing) {
        try {
            fontLookup = std::jthread([] { cad::FontLibrary::loadConfiguration(); });
        } catch (const std::system_error&) {
        }
    }
    if (options.drawing) {
        std::string error;
        const bool opened = documents.openDocument(*options.drawing, error) != nullptr;
        if (fontLookup.joinable()) fontLookup.join();
        if (!opened) {
            std::fprintf(stderr, "brinmo: %s\n", error.c_str());
            return 1;
        }
        for (const auto& warning : documents.lastWarnings()) cad::print(warning + "\n");
        const cad::Database& db = documents.curDocument()->database();
        host.editor().ucs() = cad::CoordinateSystem(db.ucsOrigin(), db.ucsXDir(), db.ucsYDir());
    }

    // Rendering alone does not wait for commands at the terminal.
    if (!options.renderTo || !options.inputs.empty()) host.run();
    if (options.renderTo) {
        cad::Document* document = documents.curDocument();
        if (document == nullptr) {
            std::fprintf(stderr, "brinmo: cannot render \"%s\": no drawing is open\n", options.renderTo->c_str());
            return 1;
        }
        cad::RenderOptions render;
        render.layout = options.renderLayout;
        render.width = options.renderWidth;
        if (options.renderWindow) {
            const auto& w = *options.renderWindow;
            render.window = cad::Extents2d({w[0], w[1]}, {w[2], w[3]});
        }
        const cad::RenderResult result = cad::renderDrawingToFile(document->database(), render, *options.renderTo);
        if (!result.ok) {
            std::fprintf(stderr, "brinmo: %s\n", result.error.c_str());
            return 1;
        }
        std::printf("Rendered %s (%d x %d): %s.\n", options.renderTo->c_str(), result.width, result.height,
                    result.report.summary().c_str());
    }
    if (options.saveAs) {
        cad::Document* document = documents.curDocument();
        if (document == nullptr) {
            std::fprintf(stderr, "brinmo: cannot save \"%s\": no drawing is open\n", options.saveAs->c_str());
            return 1;
        }
        std::string error;
        if (!documents.saveDocument(*document, *options.saveAs, error)) {
            std::fprintf(stderr, "brinmo: %s\n", error.c_str());
            return 1;
        }
    }
    const int status = host.fileFailed() ? 1 : 0;
    host.dynamicLinker().unloadAll();
    documents.abandonAtExit();
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    cad::restartWithLargePages(argv);
    // Output piped into a reader that stops early (head) must not cost the save: writes to a
    // closed pipe fail quietly instead of ending the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto options = brinmo::parseConsoleOptions(args, error);
    if (!options) {
        std::fprintf(stderr, "brinmo: %s\n%s", error.c_str(), brinmo::consoleUsage());
        return 2;
    }
    if (options->version) {
        std::printf("brinmo %s\n", BRINMO_VERSION);
        return 0;
    }
    if (options->help) {
        std::printf("%s", brinmo::consoleUsage());
        return 0;
    }
    try {
        return runConsole(*options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brinmo: %s\n", e.what());
        return 1;
    }
}
