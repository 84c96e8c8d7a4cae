#pragma once
#include <string>

#include "engine/geometry/Point3d.h"

namespace cad {

class Document;

class HostApplication;
class Database;

// The host's drawing commands, by theme; registerDrawingCommands (HostApplication.h) adds them all.
void registerFileCommands(HostApplication& host);

// Before a drawing with unsaved changes is closed: asks "Save changes to NAME?" and saves on Yes.
// False when the user cancels or the save fails: the drawing must then stay open.
bool confirmDiscard(HostApplication& host, Document& doc);
void registerDrawCommands(HostApplication& host);
void registerLayerCommand(HostApplication& host);
void registerInquiryCommands(HostApplication& host);

// The active drawing's database; prints "No drawing is open." and gives nullptr when there is none.
Database* activeDatabase(HostApplication& host);

// A coordinate as LIST and ZOOM print it: four decimals.
std::string coordinateText(double value);
std::string pointText(const Point3d& point);

}  // namespace cad
