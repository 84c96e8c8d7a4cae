#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/editor/ModuleEntry.h"
#include "engine/editor/RxService.h"

namespace cad {

class CommandStack;

// Loads and unloads plug-in modules. A module is a shared library exporting acrxEntryPoint.
class DynamicLinker : public RxService {
public:
    explicit DynamicLinker(CommandStack& commands);
    ~DynamicLinker() override;  // unloads every module, last loaded first
    DynamicLinker(const DynamicLinker&) = delete;
    DynamicLinker& operator=(const DynamicLinker&) = delete;

    // Services a module asks for while it loads.
    bool unlockApplication(AppId appId);
    bool lockApplication(AppId appId);
    bool registerAppMDIAware(AppId appId);
    bool isApplicationLocked(AppId appId) const;
    bool isAppMDIAware(AppId appId) const;

    struct Result {
        bool ok = false;
        std::string message;  // why it failed, naming the file
    };

    // Loads the module file and sends it kInitAppMsg. Loading a module that is loaded already
    // does nothing and succeeds.
    Result loadModule(const std::string& path);
    // Sends kUnloadAppMsg and unloads; refused while the module keeps itself locked. The module
    // is named by its path or by its file name, with or without extension.
    Result unloadModule(const std::string& name);
    void unloadAll();

    // File names of the loaded modules, in load order.
    std::vector<std::string> loadedModules() const;

private:
    struct Module;
    Module* find(AppId appId) const;
    Module* findByName(const std::string& name) const;
    void unload(Module& module);

    CommandStack& commands_;
    std::vector<std::unique_ptr<Module>> modules_;
};

}  // namespace cad
