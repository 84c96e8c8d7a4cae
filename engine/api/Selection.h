#pragma once
// Picking objects and building selection sets, interactively or with filters.
#include "engine/editor/SelectionApi.h"
#include "engine/editor/Wildcard.h"
