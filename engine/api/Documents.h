#pragma once
// The open drawings, the active one, and the document lock a change is made under.
#include "engine/editor/Document.h"
#include "engine/editor/DocumentManager.h"
