#pragma once
// The command line as a module sees it: prompts and their results, printing, system variables,
// coordinate conversion, running a host command, and what the running host is.
#include "engine/editor/EditorApi.h"
#include "engine/editor/HostOutput.h"
#include "engine/editor/AppDataFolder.h"
