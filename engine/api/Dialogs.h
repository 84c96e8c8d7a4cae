#pragma once
// The dialog toolkit: dialogs and their controls, data exchange, message boxes, file prompts.
#include "engine/dialogs/DataExchange.h"
#include "engine/dialogs/Dialog.h"
#include "engine/dialogs/FileDialog.h"
#include "engine/dialogs/MessageBox.h"
