#pragma once
// What a module needs to live in the host: its entry point and messages, the system registry with
// the dynamic linker, and the command stack it registers its command groups on.
#include "engine/editor/CommandStack.h"
#include "engine/editor/DynamicLinker.h"
#include "engine/editor/ModuleEntry.h"
#include "engine/editor/SystemRegistry.h"
