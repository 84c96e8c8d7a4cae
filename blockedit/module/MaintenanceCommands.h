#pragma once

// The commands that bring every space block of the active drawing up to date at once, and the
// export and listing commands. Each runs in its own command frame and lets nothing through.

void updateSpaces();            // mus
void syncXDataToAttributes();   // msxta
void updateTextSize();          // mut
void korvaAuxilarator();        // maux
void korvaRefreshTags();        // mrt
void blankThirdAttribute();     // mbta
void korvaFindReplaceStub();    // mfrs
void checkAttributeLayers();    // msc_cal
void hatchAllSpaces();          // msc_has
void hatchSpace();              // msc_hs
void displaySpaceDetails();     // msc_dsd
void createRoomAreaCSV();       // mcsv
void listBlockNameIdentifier(); // mlb
