#pragma once

namespace cad {

class HostApplication;

// RENDER (a picture of the current layout of the active drawing) and EXPORT (a plot of the
// current layout with its page set-up, to a file of the device's format).
void registerRenderCommands(HostApplication& host);

}  // namespace cad
