#include "engine/editor/DrawingCommands.h"

#include <fmt/format.h>

#include "engine/editor/HostApplication.h"
#include "engine/editor/HostOutput.h"

namespace cad {

void registerDrawingCommands(HostApplication& host) {
    registerFileCommands(host);
    registerDrawCommands(host);
    registerLayerCommand(host);
    registerInquiryCommands(host);
}

Database* activeDatabase(HostApplication& host) {
    Database* db = host.workingDatabase();
    if (db == nullptr) print("No drawing is open.\n");
    return db;
}

std::string coordinateText(double value) {
    std::string text = fmt::format("{:.4f}", value);
    return text == "-0.0000" ? "0.0000" : text;
}

std::string pointText(const Point3d& point) {
    return "X=" + coordinateText(point.x) + "  Y=" + coordinateText(point.y) + "  Z=" + coordinateText(point.z);
}

}  // namespace cad
