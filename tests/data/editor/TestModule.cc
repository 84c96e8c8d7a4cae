// A tiny plug-in module for the host's loading tests; the tests compile it at run time.
// Built with -DKEEP_LOCKED it does not unlock itself, so the host must refuse to unload it.
#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"

namespace {

void hello() { cad::print("hello from " + cad::hostApplication().productName() + "\n"); }

}  // namespace

extern "C" int acrxEntryPoint(int message, void* appId) {
    cad::SystemRegistry* registry = cad::acrxSysRegistry();
    auto* linker = registry->at<cad::DynamicLinker>("DynamicLinker");
    auto* commands = registry->at<cad::CommandStack>("ACAD_REGISTERED_COMMANDS");
    if (linker == nullptr || commands == nullptr) return cad::kRetError;
    switch (message) {
        case cad::kInitAppMsg:
#ifndef KEEP_LOCKED
            linker->unlockApplication(appId);
#endif
            linker->registerAppMDIAware(appId);
            commands->addCommand("TEST_GROUP", "thello", "testHello", cad::ACRX_CMD_SESSION, hello);
            commands->addCommand("TEST_LEFTOVER", "tleft", "testLeftover", cad::ACRX_CMD_MODAL,
                                 [] { cad::print("left\n"); });
            cad::print("test module loaded\n");
            break;
        case cad::kUnloadAppMsg:
            // Leaves TEST_LEFTOVER registered on purpose: the host must drop it.
            commands->removeGroup("TEST_GROUP");
            cad::print("test module unloaded\n");
            break;
        default: break;
    }
    return cad::kRetOK;
}
