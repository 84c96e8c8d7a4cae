// The module's entry point and command layer.
#include "core/KorvaWrap.h"
#include "engine/api/Commands.h"
#include "engine/api/Editor.h"
#include "logging/PreferencesZerOda.h"
#include "module/CommandTable.h"
#include "host/HostPlatform.h"
#include "module/Preferences.h"
#include "module/SpaceCommands.h"

namespace {

cad::DynamicLinker* dynamicLinker() {
    cad::SystemRegistry* registry = cad::acrxSysRegistry();
    return registry ? registry->at<cad::DynamicLinker>("DynamicLinker") : nullptr;
}

void registrationProcedure() {
    // Creates the per-machine folders and shows the preferences dialog on the very first load. It
    // reports its own failure under its own name, so registration always goes on.
    checkPreferencesExist();
    CCommandTable::module().registerCommands(hostPlatform());
}

void onLoad(void* appId) {
    // Built before anything else of the module runs: the commands registered below depend on it.
    buildHostPlatform(cad::hostProductName());
    if (cad::DynamicLinker* linker = dynamicLinker()) {
        linker->unlockApplication(appId);
        linker->registerAppMDIAware(appId);
    }
    registrationProcedure();
    // Read once per load; a reload starts from the file again rather than adding to the list.
    moduleDocumentMonitorSettings().deleteObjects();
    loadDocumentMonitorSettings(moduleDocumentMonitorSettings());
}

void onUnload() {
    closeModelessWindows();
    CCommandTable::removeGroups();
    releaseHostPlatform();
}

}  // namespace

// Exported by name: the host finds it with dlsym.
extern "C" [[gnu::visibility("default")]] int acrxEntryPoint(int message, void* appId) {
    // Nothing may escape into the host; a failure here is reported like a command's.
    korvaTopLevel(__FILE__, "acrxEntryPoint", [&] {
        switch (message) {
            case cad::kInitAppMsg: onLoad(appId); break;
            case cad::kUnloadAppMsg: onUnload(); break;
            default: break;
        }
    });
    return cad::kRetOK;
}
