#include "engine/editor/DynamicLinker.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>

#include "engine/editor/CommandStack.h"

namespace cad {

namespace {

struct LibraryCloser {
    void operator()(void* handle) const {
        if (handle != nullptr) dlclose(handle);
    }
};

std::string lastDlError() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

}  // namespace

struct DynamicLinker::Module {
    std::string path;  // as loaded, made absolute
    std::unique_ptr<void, LibraryCloser> library;
    ModuleEntryPoint entry = nullptr;
    bool locked = true;  // until the module unlocks itself
    bool mdiAware = false;
};

DynamicLinker::DynamicLinker(CommandStack& commands) : commands_(commands) {}

DynamicLinker::~DynamicLinker() { unloadAll(); }

DynamicLinker::Module* DynamicLinker::find(AppId appId) const {
    for (const auto& m : modules_)
        if (m.get() == appId) return m.get();
    return nullptr;
}

DynamicLinker::Module* DynamicLinker::findByName(const std::string& name) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path asked(name);
    fs::path absolute = fs::absolute(asked, ec);
    for (const auto& m : modules_) {
        fs::path p(m->path);
        if (!ec && p == absolute) return m.get();
        if (p.filename() == asked || p.stem() == asked) return m.get();
    }
    return nullptr;
}

bool DynamicLinker::unlockApplication(AppId appId) {
    Module* m = find(appId);
    if (m) m->locked = false;
    return m != nullptr;
}

bool DynamicLinker::lockApplication(AppId appId) {
    Module* m = find(appId);
    if (m) m->locked = true;
    return m != nullptr;
}

bool DynamicLinker::registerAppMDIAware(AppId appId) {
    Module* m = find(appId);
    if (m) m->mdiAware = true;
    return m != nullptr;
}

bool DynamicLinker::isApplicationLocked(AppId appId) const {
    Module* m = find(appId);
    return m != nullptr && m->locked;
}

bool DynamicLinker::isAppMDIAware(AppId appId) const {
    Module* m = find(appId);
    return m != nullptr && m->mdiAware;
}

DynamicLinker::Result DynamicLinker::loadModule(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return {false, "Module file \"" + path + "\" not found."};
    std::string absolute = fs::absolute(path, ec).lexically_normal().string();
    if (findByName(absolute)) return {true, ""};

    auto module = std::make_unique<Module>();
    module->path = absolute;
    dlerror();
    module->library.reset(dlopen(absolute.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!module->library) return {false, "Unable to load module \"" + path + "\": " + lastDlError()};
    void* symbol = dlsym(module->library.get(), "acrxEntryPoint");
    if (symbol == nullptr)
        return {false, "\"" + path + "\" is not a module: it has no acrxEntryPoint."};
    module->entry = reinterpret_cast<ModuleEntryPoint>(symbol);

    Module& m = *module;
    modules_.push_back(std::move(module));
    commands_.setCurrentOwner(&m);
    int answer = m.entry(kInitAppMsg, &m);
    commands_.setCurrentOwner(nullptr);
    if (answer != kRetOK) {
        commands_.removeCommandsOwnedBy(&m);
        std::erase_if(modules_, [&](const auto& p) { return p.get() == &m; });
        return {false, "Module \"" + path + "\" refused to load."};
    }
    return {true, ""};
}

void DynamicLinker::unload(Module& module) {
    module.entry(kUnloadAppMsg, &module);
    // Commands still registered would call into code that is about to go away.
    commands_.removeCommandsOwnedBy(&module);
    std::erase_if(modules_, [&](const auto& p) { return p.get() == &module; });
}

DynamicLinker::Result DynamicLinker::unloadModule(const std::string& name) {
    Module* m = findByName(name);
    if (m == nullptr) return {false, "Module \"" + name + "\" is not loaded."};
    if (m->locked) return {false, "Module \"" + name + "\" is locked and cannot be unloaded."};
    unload(*m);
    return {true, ""};
}

void DynamicLinker::unloadAll() {
    while (!modules_.empty()) unload(*modules_.back());
}

std::vector<std::string> DynamicLinker::loadedModules() const {
    std::vector<std::string> names;
    for (const auto& m : modules_) names.push_back(std::filesystem::path(m->path).filename().string());
    return names;
}

}  // namespace cad
