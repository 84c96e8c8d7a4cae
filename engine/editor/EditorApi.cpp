#include "engine/editor/EditorApi.h"

#include "engine/editor/HostApplication.h"
#include "engine/editor/LineInput.h"

namespace cad {

namespace {

Editor& editor() { return hostApplication().editor(); }

}  // namespace

bool hostIsRunning() { return HostApplication::current() != nullptr; }

std::string hostProductName() {
    const HostApplication* host = HostApplication::current();
    return host ? host->productName() : std::string();
}

bool isInteractiveSession() {
    HostApplication* host = HostApplication::current();
    return host != nullptr && host->editor().input().isInteractive();
}

bool commandInputEnded() {
    HostApplication* host = HostApplication::current();
    return host != nullptr && host->editor().input().atEnd();
}

Database* workingDatabase() {
    HostApplication* host = HostApplication::current();
    return host ? host->workingDatabase() : nullptr;
}

Matrix3d ucsToWorldMatrix() {
    HostApplication* host = HostApplication::current();
    return host ? host->editor().ucs().toWorldMatrix() : Matrix3d::identity();
}

int acedGetInt(std::string_view prompt, int& value) { return editor().getInt(prompt, value); }

int acedGetReal(std::string_view prompt, double& value) { return editor().getReal(prompt, value); }

int acedGetString(int allowSpaces, std::string_view prompt, std::string& value) {
    return editor().getString(allowSpaces != 0, prompt, value);
}

int acedGetPoint(std::string_view prompt, Point3d& value) { return editor().getPoint(prompt, value); }

int acedGetKword(std::string_view prompt, std::string_view keywords, std::string& value) {
    return editor().getKeyword(prompt, keywords, value);
}

int acedGetVar(std::string_view name, int& value) {
    auto v = hostApplication().getVariable(name);
    if (!v) return RTERROR;
    value = *v;
    return RTNORM;
}

int acedSetVar(std::string_view name, int value) {
    return hostApplication().setVariable(name, value).empty() ? RTNORM : RTERROR;
}

int acedTrans(const Point3d& point, int from, int to, bool displacement, Point3d& result) {
    auto known = [](int cs) { return cs == kWorldCoordinates || cs == kUserCoordinates; };
    if (!known(from) || !known(to)) return RTERROR;
    const CoordinateSystem& ucs = editor().ucs();
    Point3d world = point;
    if (from == kUserCoordinates)
        world = displacement ? Point3d::origin() + ucs.toWorld(point.asVector()) : ucs.toWorld(point);
    result = world;
    if (to == kUserCoordinates)
        result = displacement ? Point3d::origin() + ucs.fromWorld(world.asVector()) : ucs.fromWorld(world);
    return RTNORM;
}

bool acdbWcs2Ucs(const Point3d& world, Point3d& user) {
    return acedTrans(world, kWorldCoordinates, kUserCoordinates, false, user) == RTNORM;
}

bool acdbUcs2Wcs(const Point3d& user, Point3d& world) {
    return acedTrans(user, kUserCoordinates, kWorldCoordinates, false, world) == RTNORM;
}

int acedCommandS(std::initializer_list<std::string_view> tokens) {
    if (tokens.size() == 0) return RTERROR;
    HostApplication& host = hostApplication();
    auto it = tokens.begin();
    std::string name(*it++);
    if (host.commandStack().lookup(name) == nullptr) return RTERROR;
    ScriptInput answers;
    for (; it != tokens.end(); ++it) answers.addLine(std::string(*it));
    LineInput& previous = host.editor().input();
    host.editor().setInput(answers);
    print("Command: " + name + "\n");
    host.runCommandLine(name);
    host.editor().setInput(previous);
    return RTNORM;
}

}  // namespace cad
