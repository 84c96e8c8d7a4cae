#pragma once

// What a plug-in module exports. The host calls the entry point with kInitAppMsg once the module
// is loaded and kUnloadAppMsg before it is unloaded (or when the host exits); the module answers
// kRetOK. The application id identifies the module in the dynamic linker's services.
namespace cad {

enum AppMsgCode : int {
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
};

enum AppRetCode : int {
    kRetOK = 0,
    kRetError = 3,
};

using AppId = void*;
using ModuleEntryPoint = int (*)(int message, void* appId);

}  // namespace cad

extern "C" int acrxEntryPoint(int message, void* appId);
