#pragma once
// Trimming and case-insensitive comparison of names, the way the host compares them.
#include "engine/text/AsciiText.h"
