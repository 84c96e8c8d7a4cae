#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/editor/HostOutput.h"
#include "engine/geometry/Matrix3d.h"
#include "engine/geometry/Point3d.h"

// The editor's command-line services in the platform's style, for module code: each works on the
// running host (hostApplication()) and answers with RTNORM or another prompt result.
namespace cad {

class Database;

// The running host as a module sees it. Each answers plainly when no host runs (module code under
// unit tests): no product, no drawing, a quiet session, the world coordinate system.
bool hostIsRunning();
std::string hostProductName();
// A person types the command lines at a terminal, so long work may show progress; scripts and
// pipes are quiet.
bool isInteractiveSession();
// No further answer can come: a prompt asked again would wait for ever.
bool commandInputEnded();
// The active drawing's database; nullptr when no drawing is open.
Database* workingDatabase();
// The current UCS -> WCS matrix.
Matrix3d ucsToWorldMatrix();

int acedGetInt(std::string_view prompt, int& value);
int acedGetReal(std::string_view prompt, double& value);
// allowSpaces: 0 ends the answer at its first blank.
int acedGetString(int allowSpaces, std::string_view prompt, std::string& value);
// The typed point comes back in world coordinates.
int acedGetPoint(std::string_view prompt, Point3d& value);
int acedGetKword(std::string_view prompt, std::string_view keywords, std::string& value);

// Integer system variables ("FILEDIA", "SORTENTS", "LUNITS", "INSUNITS"): RTNORM, or RTERROR for
// an unknown name or a refused value.
int acedGetVar(std::string_view name, int& value);
int acedSetVar(std::string_view name, int value);

// Coordinate systems for acedTrans.
constexpr int kWorldCoordinates = 0;
constexpr int kUserCoordinates = 1;
// Converts a point (or, with displacement, a vector) between the world and the current UCS.
int acedTrans(const Point3d& point, int from, int to, bool displacement, Point3d& result);
bool acdbWcs2Ucs(const Point3d& world, Point3d& user);
bool acdbUcs2Wcs(const Point3d& user, Point3d& world);

// Runs a command with its answers, as if typed: acedCommandS({"_EXPORT", "plan.wmf"}).
// Prompts left unanswered are cancelled. RTNORM when the command exists, else RTERROR.
int acedCommandS(std::initializer_list<std::string_view> tokens);

template <typename... Args>
void acutPrintf(std::string_view format, const Args&... args) {
    cad::printf(format, args...);
}

}  // namespace cad
