#pragma once
#include <string>

// Which host product the module runs in; a few commands differ by host.
class CHostPlatform {
public:
    enum Kind { kUnknown = 0, kAutoCADLT = 1, kAutoCAD = 2, kBricsCAD = 3 };

    explicit CHostPlatform(const std::string& productName);

    int hostKind() const { return hostKind_; }
    // AutoCAD or BricsCAD: hosts that can draw legends, pie charts and markers.
    bool isFullHost() const { return hostKind_ > kAutoCADLT; }

    static int kindFromProductName(const std::string& productName);

private:
    int hostKind_;
};

// The module's one record: built from the host's product name when the module loads, dropped when
// it unloads. hostPlatform() throws std::logic_error while the module is not loaded.
const CHostPlatform& hostPlatform();
void buildHostPlatform(const std::string& productName);
void releaseHostPlatform();
