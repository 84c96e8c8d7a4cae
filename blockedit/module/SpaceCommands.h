#pragma once

// The commands that create, edit, hyperlink and delete single space blocks. The dialog commands
// print their title and open their dialog; the dialogs report their own failures.

void blockCreate();           // mbc
void grossAreaBlockCreate();  // mgabc
void deleteSpaceBlock();      // mdb
void blockEdit();             // mbe
void blockHyperlink();        // mbh

// Closes the windows that outlive their command (before the module goes away).
void closeModelessWindows();
