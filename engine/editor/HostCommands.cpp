#include <algorithm>
#include <cctype>
#include <filesystem>

#include "engine/editor/DrawingCommands.h"
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"
#include "engine/render/RenderCommands.h"
#include "engine/text/AsciiText.h"

namespace cad {

namespace {

// Each drawing with unsaved changes is asked about; a cancel keeps the session.
void quit(HostApplication& host) {
    for (Document* doc : host.documentManager().documents())
        if (!confirmDiscard(host, *doc)) return;
    host.requestQuit();
}

void appLoad(HostApplication& host) {
    std::string path;
    if (host.editor().getString(true, "Module file name: ", path) != RTNORM || path.empty()) return;
    auto result = host.dynamicLinker().loadModule(path);
    if (!result.ok) {
        print(result.message + "\n");
        return;
    }
    print(std::filesystem::path(path).filename().string() + " loaded.\n");
}

void appUnload(HostApplication& host) {
    std::string name;
    if (host.editor().getString(true, "Module to unload: ", name) != RTNORM || name.empty()) return;
    auto result = host.dynamicLinker().unloadModule(name);
    print(result.ok ? name + " unloaded.\n" : result.message + "\n");
}

void setVar(HostApplication& host) {
    std::string name;
    if (host.editor().getString(false, "Variable name: ", name) != RTNORM || name.empty()) return;
    auto current = host.getVariable(name);
    if (!current) {
        print("Unknown variable name \"" + name + "\".\n");
        return;
    }
    name = toUpperAscii(name);
    while (true) {
        int value = *current;
        int rc = host.editor().getInt("Enter new value for " + name + " <" + std::to_string(*current) + ">: ", value);
        if (rc != RTNORM) return;
        std::string problem = host.setVariable(name, value);
        if (problem.empty()) return;
        print(problem + "\n");
    }
}

void getVar(HostApplication& host) {
    std::string name;
    if (host.editor().getString(false, "Variable name: ", name) != RTNORM || name.empty()) return;
    auto value = host.getVariable(name);
    if (!value) {
        print("Unknown variable name \"" + name + "\".\n");
        return;
    }
    print(toUpperAscii(name) + " = " + std::to_string(*value) + "\n");
}

void help(HostApplication& host) {
    std::vector<std::string> own;
    for (const Command* c : host.commandStack().commands())
        if (c->group == CommandStack::kHostGroup) own.push_back(c->localName);
    std::sort(own.begin(), own.end());
    print("Host commands:\n");
    for (const auto& name : own) print("  " + name + "\n");
    for (const std::string& group : host.commandStack().groups()) {
        if (group == CommandStack::kHostGroup) continue;
        print(group + ":\n");
        for (const Command* c : host.commandStack().commands())
            if (c->group == group) print("  " + c->globalName + "  " + c->localName + "\n");
    }
}

// The commands that loaded modules registered, group by group in the order they were added.
void listModuleCommands(HostApplication& host) {
    std::vector<const Command*> added = host.commandStack().commands();
    std::reverse(added.begin(), added.end());
    std::vector<std::string> groups;
    for (const Command* c : added)
        if (c->group != CommandStack::kHostGroup && std::find(groups.begin(), groups.end(), c->group) == groups.end())
            groups.push_back(c->group);
    if (groups.empty()) {
        print("No module commands are registered.\n");
        return;
    }
    for (const std::string& group : groups) {
        print(group + ":\n");
        for (const Command* c : added)
            if (c->group == group) print("  " + c->globalName + "  " + c->localName + "\n");
    }
}

}  // namespace

void registerHostCommands(HostApplication& host) {
    CommandStack& stack = host.commandStack();
    const std::string group(CommandStack::kHostGroup);
    auto add = [&](const char* name, auto function, int flags) {
        stack.addCommand(group, name, name, flags, [&host, function] { function(host); });
    };
    add("APPLOAD", appLoad, ACRX_CMD_SESSION);
    add("APPUNLOAD", appUnload, ACRX_CMD_SESSION);
    add("SETVAR", setVar, ACRX_CMD_MODAL);
    add("GETVAR", getVar, ACRX_CMD_MODAL);
    add("HELP", help, ACRX_CMD_SESSION);
    add("COMMANDS", listModuleCommands, ACRX_CMD_SESSION);
    add("QUIT", quit, ACRX_CMD_SESSION);
    registerRenderCommands(host);
    registerDrawingCommands(host);
}

}  // namespace cad
