#pragma once

// The command listings printed by the help commands.

// m? / mhelp
void printHelpListing();
// md? / mdiagnosticshelp
void printDiagnosticsListing();
