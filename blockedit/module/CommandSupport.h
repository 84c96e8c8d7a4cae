#pragma once
#include <string>

class CAcadDrawing;
class CBlockDWG;
class CBlocks;
class CCommandFrame;
class CPreferences;

// The steps the maintenance, export and listing commands share.

// A drawing object over the active document, living as long as the frame.
CAcadDrawing& bindDrawing(CCommandFrame& frame);
// Every space block of the drawing (level "f"), living as long as the frame.
CBlocks& gatherSpaces(CCommandFrame& frame, CAcadDrawing& drawing, bool withAssets = false);
// The preferences as the file has them now.
CPreferences& loadPreferences(CCommandFrame& frame);
// The drawing record at an index of a gathered collection (every gathered record is one).
CBlockDWG& spaceAt(const CBlocks& blocks, std::size_t index);
// Writes the record back; failures collected on the way are shown once it is written.
void writeBack(CBlockDWG& block, CAcadDrawing& drawing);
